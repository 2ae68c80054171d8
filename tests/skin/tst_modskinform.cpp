#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "common/SharedState.h"
#include "platform/AppFolder.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinSurface.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

namespace {
QString ErrorLog()
{
    QFile log(AppFolder::file(QStringLiteral("errlog.dat")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void Add(QWidget* window, QWidget* control, const char* name)
{
    control->setParent(window);
    control->setObjectName(QLatin1String(name));
}

MyTopButton* Button(QWidget* window, const char* name)
{
    auto* button = new MyTopButton;
    Add(window, button, name);
    button->SetImages(frmPics::ButtonFor(window->objectName(), QLatin1String(name)));
    return button;
}

// A main window with the controls the painter places, and no text, so that its picture
// does not depend on the fonts of the machine.
QWidget* SampleMainWindow()
{
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("frmMainCode"));
    w->resize(485, 200);
    Add(w, new QLabel, "ImgIcon");
    Button(w, "btnClose");
    Button(w, "BtnAbout");
    Button(w, "btnContract");
    Button(w, "btnExpand")->hide();
    Button(w, "btnBall")->hide();
    auto* ball = new QLabel;
    ball->setPixmap(frmPics::Picture(QStringLiteral("ImgAdGrey")));
    Add(w, ball, "pic1");
    Button(w, "btnShred");
    Add(w, new QLabel, "lblshred");
    Add(w, new QLabel, "bareditsmall");
    Button(w, "btnYes")->move(160, 150);
    Button(w, "btnNo")->move(250, 150);
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

int Difference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                              qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}
} // namespace

class TestModSkinForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    void mainWindowMatchesItsReference()
    {
        Shared().ListState = QStringLiteral("showlist");
        std::unique_ptr<QWidget> w(SampleMainWindow());
        MakeWindow(w.get(), 5);
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

    void placesTheFrameControls()
    {
        Shared().ListState = QStringLiteral("hidelist");
        std::unique_ptr<QWidget> w(SampleMainWindow());
        w->resize(333, 120);
        w->findChild<QWidget*>(QStringLiteral("lblshred"))->move(0, 14);
        MakeWindow(w.get(), 5);
        QCOMPARE(TwipsX(), 15);
        QCOMPARE(TwipsY(), 15);
        const auto pos = [&](const char* name) { return w->findChild<QWidget*>(QLatin1String(name))->pos(); };
        QCOMPARE(pos("btnClose"), QPoint(294, 11));
        QCOMPARE(pos("BtnAbout"), QPoint(271, 11));
        QCOMPARE(pos("btnShred"), QPoint(41, 8));
        QCOMPARE(pos("lblshred"), QPoint(85, 14));
        QCOMPARE(pos("bareditsmall"), QPoint(140, 18));
        QCOMPARE(pos("ImgIcon"), QPoint(7, 7));
        auto* icon = w->findChild<QLabel*>(QStringLiteral("ImgIcon"));
        QCOMPARE(icon->pixmap().toImage(), frmPics::Picture(QStringLiteral("ImgIcon")).toImage());
        QCOMPARE(icon->size(), QSize(32, 32));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w->mask().boundingRect(), QRect(0, 0, 333, 120));
        QVERIFY(!w->mask().contains(QPoint(0, 0)));
        QCOMPARE(SkinSurface::of(w.get())->picture().size(), QSize(333, 120));
    }

    void iconKindZeroLeavesTheIcon()
    {
        QWidget w;
        w.setObjectName(QStringLiteral("frmDialog"));
        w.resize(300, 150);
        auto* icon = new QLabel(&w);
        icon->setObjectName(QStringLiteral("ImgIcon"));
        icon->move(40, 50);
        Button(&w, "btnClose");
        MakeWindow(&w, 0);
        QCOMPARE(icon->pos(), QPoint(40, 50));
        QVERIFY(icon->pixmap().isNull());
        MakeWindow(&w, 4);
        QCOMPARE(icon->pos(), QPoint(13, 13));
        QCOMPARE(icon->pixmap().toImage(), frmPics::Picture(QStringLiteral("imgcritical")).toImage());
    }

    void aWindowWithoutCloseButtonGetsItsFrameAndALogLine()
    {
        QWidget w;
        w.setObjectName(QStringLiteral("frmMainCode"));
        w.resize(200, 100);
        auto* shred = new QLabel(&w);
        shred->setObjectName(QStringLiteral("btnShred"));
        shred->move(3, 3);
        MakeWindow(&w, 0);
        QVERIFY(ErrorLog().contains(
            QStringLiteral(" Err Source = vn10 modSkinForm:MakeWindow Err Number = 438 ")));
        // Fill, edges, outline and corners are there; nothing after the failing step is.
        const QImage surface = SkinSurface::of(&w)->picture().toImage();
        const QImage corner = frmPics::Picture(QStringLiteral("imgWindowBottomRight")).toImage();
        QCOMPARE(surface.pixel(181 + 9, 70 + 28), corner.pixel(9, 28));
        QVERIFY(!w.mask().isEmpty());
        QCOMPARE(shred->pos(), QPoint(3, 3));
    }

    void topMostBandKeepsTheWindowShown()
    {
        QWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MakeTopMost(&w);
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
        MakeNormal(&w);
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
    }

    void dragMovesTheWindowWithThePointer()
    {
        QWidget w;
        w.setGeometry(100, 100, 200, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint start = w.pos();
        QCursor::setPos(start + QPoint(20, 10));
        DoDrag(&w);
        const QPoint to = QCursor::pos() + QPoint(35, 12);
        QMouseEvent move(QEvent::MouseMove, QPointF(55, 22), QPointF(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &move);
        QCOMPARE(w.pos(), start + QPoint(35, 12));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(55, 22), QPointF(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &release);
        QMouseEvent later(QEvent::MouseMove, QPointF(60, 30), QPointF(to + QPoint(50, 50)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &later);
        QCOMPARE(w.pos(), start + QPoint(35, 12));
    }

    void dragOfAMaximisedWindowDoesNothing()
    {
        QWidget w;
        w.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint start = w.pos();
        DoDrag(&w);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(QCursor::pos() + QPoint(40, 40)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &move);
        QCOMPARE(w.pos(), start);
    }

    void linkHover_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("hot");
        // The label is 40 x 20 pixels: 600 x 300 twips.
        QTest::newRow("inside") << 300.f << 150.f << true;
        QTest::newRow("on the right and bottom border") << 600.f << 300.f << true;
        QTest::newRow("on the top-left corner") << 0.f << 0.f << true;
        QTest::newRow("past the right border") << 601.f << 150.f << false;
        QTest::newRow("above") << 300.f << -1.f << false;
    }
    void linkHover()
    {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(bool, hot);
        QLabel label;
        label.resize(40, 20);
        LinkHover(&label, x, y);
        QCOMPARE(label.palette().color(QPalette::WindowText),
                 hot ? QColor(255, 255, 128) : QColor(255, 192, 128));
        LinkNormal(&label);
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(255, 192, 128));
    }

    void linkLabelClicks()
    {
        LinkLabel link(QStringLiteral("Check All"));
        link.resize(60, 16);
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(255, 192, 128));
        int clicks = 0;
        connect(&link, &LinkLabel::Click, [&] { ++clicks; });
        MouseEvents::Press(&link, {5, 5});
        MouseEvents::Release(&link, {5, 5});
        MouseEvents::Press(&link, {5, 5});
        MouseEvents::Release(&link, {80, 5}); // released off the link
        QTest::keyClick(&link, Qt::Key_Return);
        QCOMPARE(clicks, 2);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&link);
        QCOMPARE(iface->role(), QAccessible::Link);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Check All"));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 3);
    }

    void handCursor()
    {
        SetHandCur(true);
        SetHandCur(true);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        SetHandCur(false);
        QVERIFY(!QGuiApplication::overrideCursor());
        SetHandCur(false);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

VANISTO_TEST_GUI_MAIN(TestModSkinForm)
#include "tst_modskinform.moc"
