#include "SkinTestKit.h"
#include "skin/MyTopButton.h"
#include "skin/TipWindow.h"
#include "skin/cToolTip.h"
#include "skin/modToolTips.h"

#include <QTimer>

using SkinTestKit::Row;

namespace {
// Runs a tips timer's timeout now: the delays are the tips' settings, not the test's to wait for.
void Fire(cToolTip& tips, const char* timer)
{
    auto* t = tips.findChild<QTimer*>(QLatin1String(timer));
    QVERIFY(t && t->isActive());
    QTimerEvent event(t->timerId());
    QCoreApplication::sendEvent(t, &event);
}

QWidget* Window(const char* name, const char* buttons)
{
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    for (const QString& control : QString::fromLatin1(buttons).split(u' '))
        (new MyTopButton(w))->setObjectName(control);
    return w;
}

// The tip CreateTips gives `control` of a window that has `buttons`.
QVariant Tip(const char* window, const char* buttons, const char* control)
{
    std::unique_ptr<QWidget> w(Window(window, buttons));
    CreateTips(w.get());
    return ControlTips().ToolText(w->findChild<QWidget*>(QLatin1String(control)));
}
} // namespace

class TestToolTips : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        RefreshTwips();
        InitializeTips();
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
        const char* main = "btnClose BtnAbout btnExpand btnContract btnShred "
                           "btnYes btnNo btnCancel btnShow "
                           "btnHide btnOptions btnBall pic1";
        Row("main window: product name put in", Tip("frmMainCode", main, "btnClose"), u"Close Vanisto"_s);
        Row("main window's last", Tip("frmMainCode", main, "pic1"), u"View Announcements"_s);
        Row("other windows' close", Tip("frmAbout", "btnClose cmdOK cmdSysInfo cmdTutorial", "btnClose"),
            u"Exit and return to Main Screen"_s);
        Row("unknown window", Tip("frmElse", "btnClose", "btnClose"), QString());
        // The table's order is btnClose, btnYes, cmdCancel, cmdNo, cmdOK, cmdSysInfo.
        Row("before the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "btnYes"), u"Yes"_s);
        Row("after the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "cmdOK"), QString());
    }
    void tips() { SKIN_COMPARE_ROW(); }

    void onlyAMissingControlIsLogged()
    {
        const QString before = SkinTestKit::ErrorLog();
        std::unique_ptr<QWidget> w(Window("frmElse", "btnClose"));
        CreateTips(w.get());
        QCOMPARE(SkinTestKit::ErrorLog(), before);
        w.reset(Window("frmAd", "btnCancel"));
        CreateTips(w.get());
        QCOMPARE(SkinTestKit::ErrorLog().mid(before.size()).count(u"CreateTips Err Number = 438"_s), 1);
    }

    void tipShowsAfterItsDelayAndHidesAgain()
    {
        std::unique_ptr<QWidget> w(Window("frmAd", "btnClose"));
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

VANISTO_TEST_GUI_MAIN(TestToolTips)
#include "tst_tooltips.moc"
