#include "SkinTestKit.h"
#include "common/SharedState.h"
#include "platform/AppFolder.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinSurface.h"
#include "skin/TipWindow.h"
#include "skin/cToolTip.h"
#include "skin/frmPics.h"
#include "skin/modToolTips.h"

#include <QPainter>

#include <numeric>

using SkinTestKit::Row;

namespace {
QString ErrorLog()
{
    QFile log(AppFolder::file(u"errlog.dat"_s));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// A window and its controls, each "name[:kind[:x]]": a button unless a label, the ball's label or a hidden
// button; one given an x is moved to (x, 150).
QWidget* Window(const char* name, const QString& controls)
{
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    for (const QString& control : controls.split(u' ')) {
        const QStringList part = control.split(u':');
        const QString kind = part.value(1);
        auto* button = kind.contains(u"l") ? nullptr : new MyTopButton;
        QWidget* made = button ? static_cast<QWidget*>(button) : new QLabel;
        made->setParent(w); // after construction, so that each keeps a parentless widget's size
        made->setObjectName(part[0]);
        if (button)
            button->SetImages(frmPics::ButtonFor(w->objectName(), part[0]));
        if (kind == u"ball")
            static_cast<QLabel*>(made)->setPixmap(frmPics::Picture(u"ImgAdGrey"_s));
        if (kind == u"hidden")
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

// Runs a tips timer's timeout now: the delays are the tips' settings, not the test's to wait for.
void Fire(cToolTip& tips, const char* timer)
{
    auto* t = tips.findChild<QTimer*>(QLatin1String(timer));
    QVERIFY(t && t->isActive());
    QTimerEvent event(t->timerId());
    QCoreApplication::sendEvent(t, &event);
}

// The tip CreateTips gives `control` of a window that has `buttons`.
QVariant Tip(const char* window, const char* buttons, const char* control)
{
    std::unique_ptr<QWidget> w(Window(window, QString::fromLatin1(buttons)));
    CreateTips(w.get());
    return ControlTips().ToolText(w->findChild<QWidget*>(QLatin1String(control)));
}
} // namespace

class TestModSkinForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        RefreshTwips();
        InitializeTips();
    }

    // The header places the empty labels from btnShred's place and lblshred's own top.
    void mainWindowMatchesItsReference()
    {
        Shared().ListState = u"showlist"_s;
        // The controls the painter places, and no text, so that no font shows in the picture.
        std::unique_ptr<QWidget> w(Window("frmMainCode",
                                          u"ImgIcon:label btnClose BtnAbout btnContract btnExpand:hidden "
                                          "btnBall:hidden pic1:ball btnShred lblshred:label "
                                          "bareditsmall:label btnYes::160 btnNo::250"_s));
        w->resize(485, 200);
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
        std::unique_ptr<QWidget> w(Window("frmMainCode", u"btnShred:label:3"_s));
        w->resize(200, 100);
        MakeWindow(w.get(), 0);
        QVERIFY(ErrorLog().contains(u" Err Source = vn10 modSkinForm:MakeWindow Err Number = 438 "_s));
        // Fill, edges, outline and corners are there; nothing after the failing step is.
        const QImage surface = SkinSurface::of(w.get())->picture().toImage();
        const QImage corner = frmPics::Picture(u"imgWindowBottomRight"_s).toImage();
        QCOMPARE(surface.pixel(181 + 9, 70 + 28), corner.pixel(9, 28));
        QVERIFY(!w->mask().isEmpty() && w->findChild<QWidget*>(u"btnShred"_s)->pos() == QPoint(3, 150));
    }

    // The window follows the pointer until the button is released; a maximised one stays.
    void dragMovesTheWindowWithThePointer()
    {
        QWidget w;
        w.setGeometry(100, 100, 200, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (bool top : {true, false}) {
            top ? MakeTopMost(&w) : MakeNormal(&w);
            QCOMPARE(
                QVariantList({w.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                              w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), w.isVisible()}),
                QVariantList({top, top, true}));
        }
        const QPoint start = w.pos();
        const auto moved = [&] { return u"%1,%2"_s.arg(w.x() - start.x()).arg(w.y() - start.y()); };
        QCursor::setPos(w.mapToGlobal(QPoint(20, 10)));
        DoDrag(&w);
        QCOMPARE(SkinTestKit::Play(&w, u"d55,22 r20,10 h70,70"_s, moved), u"35,12 35,12 35,12"_s);

        w.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint maximised = w.pos();
        DoDrag(&w);
        SkinTestKit::Play(&w, u"d45,45"_s);
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

    // The program's tips: light yellow, black, after a second, for five; a new one has its own defaults.
    void settings()
    {
        const auto of = [](const cToolTip& t) {
            return QVariantList(
                {t.BkColor(), t.TxtColor(), t.DelayTime(), t.VisibleTime(), t.TipWidth(), t.Style()});
        };
        QCOMPARE(of(ControlTips()), of(AreaTips()));
        QCOMPARE(of(AreaTips()), QVariantList({0xC0FFFFu, 0u, 1000, 5000, 300, 1}));
        QCOMPARE(of(cToolTip()), QVariantList({0xEEFFFFu, 0u, 500, 2000, 300, 1}));
    }

    // Each window registers its controls in a fixed order and stops at the first it lacks.
    void tips_data()
    {
        SkinTestKit::Columns();
        const QString log = ErrorLog();
        const char* main = "btnClose BtnAbout btnExpand btnContract btnShred btnYes btnNo btnCancel btnShow "
                           "btnHide btnOptions btnBall pic1";
        Row("main window: product name put in", Tip("frmMainCode", main, "btnClose"), u"Close Vanisto"_s);
        Row("main window's last", Tip("frmMainCode", main, "pic1"), u"View Announcements"_s);
        Row("other windows' close", Tip("frmAbout", "btnClose cmdOK cmdSysInfo cmdTutorial", "btnClose"),
            u"Exit and return to Main Screen"_s);
        Row("unknown window", Tip("frmElse", "btnClose", "btnClose"), QString());
        // The table's order is btnClose, btnYes, cmdCancel, cmdNo, cmdOK, cmdSysInfo.
        Row("before the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "btnYes"), u"Yes"_s);
        Row("after the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "cmdOK"), QString());
        // Only a missing control is logged, once for each window that lacks one.
        const QString logged = ErrorLog().mid(log.size());
        Row("logged", QVariantList({logged.count(u'\n'), logged.count(u"CreateTips Err Number = 438"_s)}),
            QVariantList({2, 2}));
    }
    void tips() { SKIN_COMPARE_ROW(); }

    void tipShowsAfterItsDelayAndHidesAgain()
    {
        std::unique_ptr<QWidget> w(Window("frmAd", u"btnClose"_s));
        CreateTips(w.get());
        QWidget* button = w->findChild<QWidget*>(u"btnClose"_s);
        QCOMPARE(button->accessibleName(), u"Exit and return to Main Screen"_s); // the tip names it
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button, &enter);
        QVERIFY(!ControlTips().Shown());
        Fire(ControlTips(), "tipDelay");
        TipWindow* shown = ControlTips().Shown();
        QVERIFY(shown);
        QCOMPARE(
            QVariantList({shown->Text(), shown->Background(), shown->TextColor(), shown->Style()}),
            QVariantList({u"Exit and return to Main Screen"_s, QColor(255, 255, 192), QColor(Qt::black), 1}));
        Fire(ControlTips(), "tipVisible");
        QVERIFY(!ControlTips().Shown());
        // The toolkit's own tooltip stays out of the way.
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QVERIFY(static_cast<QObject&>(ControlTips()).eventFilter(button, &help));
        ControlTips().SetStyle(2); // balloons from the next tip on
        QCoreApplication::sendEvent(button, &enter);
        Fire(ControlTips(), "tipDelay");
        QVERIFY(ControlTips().Shown());
        QCOMPARE(ControlTips().Shown()->Style(), 2);
        ControlTips().SetStyle(1);
        // Left on the screen: the program must still end cleanly with a tip shown.
    }

    void tutorialChapterLinkIsAnArea()
    {
        QWidget w;
        w.setObjectName(u"frmTutorial"_s);
        auto* frame = new QWidget(&w);
        frame->setObjectName(u"slideframe"_s);
        auto* label = new QLabel(frame);
        label->setObjectName(u"Label2"_s);
        label->setGeometry(10, 20, 100, 15);
        CreateTips(&w);
        QCOMPARE(AreaTips().ToolText(frame, 0), u"Return to Chapter List"_s);
        MouseEvents::Hover(frame, {50, 25});
        Fire(AreaTips(), "tipDelay");
        QVERIFY(AreaTips().Shown());
        MouseEvents::Hover(frame, {150, 25}); // outside the label: no tip
        QVERIFY(!AreaTips().Shown());
    }
};

VANISTO_TEST_GUI_MAIN(TestModSkinForm)
#include "tst_modskinform.moc"
