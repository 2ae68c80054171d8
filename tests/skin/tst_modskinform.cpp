#include "SkinTestKit.h"
#include "common/SharedState.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinSurface.h"
#include "skin/frmPics.h"

#include <QPainter>

#include <numeric>

namespace {
// A main window with the controls the painter places, and no text, so that no font shows in its picture.
// Each control is "kind:name[:x]": a label, the ball's label, a button, a hidden button, one moved to (x,
// 150).
QWidget* SampleMainWindow()
{
    auto* w = new QWidget;
    w->setObjectName(u"frmMainCode"_s);
    w->resize(485, 200);
    for (const QString& control :
         u"label:ImgIcon button:btnClose button:BtnAbout button:btnContract hidden:btnExpand "
         "hidden:btnBall ball:pic1 button:btnShred label:lblshred label:bareditsmall "
         "button:btnYes:160 button:btnNo:250"_s.split(u' ')) {
        const QStringList part = control.split(u':');
        auto* button = part[0].contains(u"l") ? nullptr : new MyTopButton;
        QWidget* made = button ? static_cast<QWidget*>(button) : new QLabel;
        made->setParent(w); // after construction, so that each keeps a parentless widget's size
        made->setObjectName(part[1]);
        if (button)
            button->SetImages(frmPics::ButtonFor(w->objectName(), part[1]));
        if (part[0] == u"ball")
            static_cast<QLabel*>(made)->setPixmap(frmPics::Picture(u"ImgAdGrey"_s));
        if (part[0] == u"hidden")
            made->hide();
        if (part.size() > 2)
            made->move(part[2].toInt(), 150);
    }
    return w;
}

// What the screen shows of a window: its picture cut to its outline.
QImage OnScreen(QWidget* window)
{
    QImage image(window->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipRegion(window->mask());
    painter.drawPixmap(0, 0, window->grab());
    return image;
}

// The largest difference of one colour or alpha byte between two pictures of one size and format.
int Difference(const QImage& a, const QImage& b)
{
    return std::transform_reduce(
        a.constBits(), a.constBits() + a.sizeInBytes(), b.constBits(), 0,
        [](int x, int y) { return std::max(x, y); }, [](uchar x, uchar y) { return std::abs(x - y); });
}
} // namespace

class TestModSkinForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    // The header places the empty labels from btnShred's place and lblshred's own top.
    void mainWindowMatchesItsReference()
    {
        Shared().ListState = u"showlist"_s;
        std::unique_ptr<QWidget> w(SampleMainWindow());
        const auto control = [&](const char* name) { return w->findChild<QWidget*>(QLatin1String(name)); };
        control("lblshred")->move(0, 14);
        MakeWindow(w.get(), 5);
        QCOMPARE(QVariantList({control("lblshred")->pos(), control("bareditsmall")->pos()}),
                 QVariantList({QPoint(237, 14), QPoint(292, 18)}));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QImage shot = OnScreen(w.get());
        const QString reference = QStringLiteral(SKIN_REFERENCE_DIR "/main-window.png");
        if (qEnvironmentVariableIsSet("VANISTO_UPDATE_REFERENCE"))
            QVERIFY(shot.save(reference));
        const QImage expected(reference);
        QCOMPARE(expected.size(), shot.size());
        // Only the last bit of a blend may differ between builds of the graphics code.
        QVERIFY2(Difference(shot, expected.convertToFormat(QImage::Format_ARGB32)) <= 2,
                 "the painted window differs from tests/skin/reference/main-window.png");
    }

    void aWindowWithoutCloseButtonGetsItsFrameAndALogLine()
    {
        QWidget w;
        w.setObjectName(u"frmMainCode"_s);
        w.resize(200, 100);
        auto* shred = new QLabel(&w);
        shred->setObjectName(u"btnShred"_s);
        shred->move(3, 3);
        MakeWindow(&w, 0);
        QVERIFY(SkinTestKit::ErrorLog().contains(
            u" Err Source = vn10 modSkinForm:MakeWindow Err Number = 438 "_s));
        // Fill, edges, outline and corners are there; nothing after the failing step is.
        const QImage surface = SkinSurface::of(&w)->picture().toImage();
        const QImage corner = frmPics::Picture(u"imgWindowBottomRight"_s).toImage();
        QCOMPARE(surface.pixel(181 + 9, 70 + 28), corner.pixel(9, 28));
        QVERIFY(!w.mask().isEmpty() && shred->pos() == QPoint(3, 3));
    }

    void topMostBandKeepsTheWindowShown()
    {
        QWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (bool top : {true, false}) {
            top ? MakeTopMost(&w) : MakeNormal(&w);
            QCOMPARE(
                QVariantList({w.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                              w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), w.isVisible()}),
                QVariantList({top, top, true}));
        }
    }

    // The window follows the pointer until the button is released; a maximised one stays.
    void dragMovesTheWindowWithThePointer()
    {
        QWidget w;
        w.setGeometry(100, 100, 200, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint start = w.pos();
        const auto moved = [&] { return u"%1,%2"_s.arg(w.x() - start.x()).arg(w.y() - start.y()); };
        QCursor::setPos(w.mapToGlobal(QPoint(20, 10)));
        DoDrag(&w);
        QCOMPARE(SkinTestKit::Play(&w, u"d55,22 r20,10 h70,70"_s, moved), u"35,12 35,12 35,12"_s);

        w.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint maximised = w.pos();
        DoDrag(&w);
        MouseEvents::Drag(&w, {45, 45});
        QCOMPARE(w.pos(), maximised);
    }

    // A 40 x 20 label is 600 x 300 twips, borders included; orange links light up yellow under the pointer.
    void linkLabel()
    {
        QStringList seen;
        for (const QPointF at : {QPointF(600, 300), QPointF(0, 0), QPointF(601, 150), QPointF(300, -1)}) {
            QLabel label; // fresh, so that a hover off it must set the plain colour itself
            label.resize(40, 20);
            LinkHover(&label, float(at.x()), float(at.y()));
            seen << label.palette().color(QPalette::WindowText).name();
            LinkNormal(&label);
            seen << label.palette().color(QPalette::WindowText).name();
        }
        QCOMPARE(seen.join(u' '), u"#ffff80 #ffc080 #ffff80 #ffc080 #ffc080 #ffc080 #ffc080 #ffc080"_s);

        LinkLabel link(u"Check All"_s);
        link.resize(60, 16);
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(255, 192, 128));
        int clicks = 0;
        connect(&link, &LinkLabel::Click, [&] { ++clicks; });
        SkinTestKit::Play(&link, u"p5 r5 p5 r80"_s); // the second released off it
        QTest::keyClick(&link, Qt::Key_Return);
        QCOMPARE(clicks, 2);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&link);
        QCOMPARE(QVariantList({iface->role(), iface->text(QAccessible::Name)}),
                 QVariantList({QAccessible::Link, u"Check All"_s}));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 3);
    }

    // One override, however often it is asked for: a single false takes it away.
    void handCursor()
    {
        SetHandCur(true);
        SetHandCur(true);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        SetHandCur(false);
        QVERIFY(!QGuiApplication::overrideCursor());
        SetHandCur(false);
    }
};

VANISTO_TEST_GUI_MAIN(TestModSkinForm)
#include "tst_modskinform.moc"
