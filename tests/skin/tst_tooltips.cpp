#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "platform/AppFolder.h"
#include "skin/MyTopButton.h"
#include "skin/TipWindow.h"
#include "skin/cToolTip.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {
QString ErrorLog()
{
    QFile log(AppFolder::file(QStringLiteral("errlog.dat")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// Runs a tips timer's timeout now: the delays are the tips' settings, not the test's to wait for.
void Fire(cToolTip& tips, const char* timer)
{
    auto* t = tips.findChild<QTimer*>(QLatin1String(timer));
    QVERIFY(t && t->isActive());
    QTimerEvent event(t->timerId());
    QCoreApplication::sendEvent(t, &event);
}

QWidget* Window(const char* name, const QStringList& buttons)
{
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    for (const QString& control : buttons) {
        auto* button = new MyTopButton(w);
        button->setObjectName(control);
    }
    return w;
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

    void programSettings()
    {
        for (cToolTip* tips : {&ControlTips(), &AreaTips()}) {
            QCOMPARE(tips->BkColor(), 0xC0FFFFu);
            QCOMPARE(tips->TxtColor(), 0u);
            QCOMPARE(tips->DelayTime(), 1000);
            QCOMPARE(tips->VisibleTime(), 5000);
            QCOMPARE(tips->Style(), 1);
        }
        cToolTip fresh;
        QCOMPARE(fresh.BkColor(), 0xEEFFFFu);
        QCOMPARE(fresh.DelayTime(), 500);
        QCOMPARE(fresh.VisibleTime(), 2000);
        QCOMPARE(fresh.TipWidth(), 300);
    }

    void mainWindowTips()
    {
        std::unique_ptr<QWidget> w(
            Window("frmMainCode",
                   {QStringLiteral("btnClose"), QStringLiteral("BtnAbout"), QStringLiteral("btnExpand"),
                    QStringLiteral("btnContract"), QStringLiteral("btnShred"), QStringLiteral("btnYes"),
                    QStringLiteral("btnNo"), QStringLiteral("btnCancel"), QStringLiteral("btnShow"),
                    QStringLiteral("btnHide"), QStringLiteral("btnOptions"), QStringLiteral("btnBall")}));
        auto* ball = new QLabel(w.get());
        ball->setObjectName(QStringLiteral("pic1"));
        CreateTips(w.get());
        const auto tip = [&](const char* name) {
            return ControlTips().ToolText(w->findChild<QWidget*>(QLatin1String(name)));
        };
        QCOMPARE(tip("btnClose"), QStringLiteral("Close Vanisto"));
        QCOMPARE(tip("BtnAbout"), QStringLiteral("About Vanisto"));
        QCOMPARE(tip("btnYes"), QStringLiteral("Yes - Shred now"));
        QCOMPARE(tip("btnHide"), QStringLiteral("Hide list"));
        QCOMPARE(tip("pic1"), QStringLiteral("View Announcements"));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("btnShred"))->accessibleName(),
                 QStringLiteral("Shred now"));
    }

    void otherWindowsCloseButtonSaysWhereItGoes()
    {
        std::unique_ptr<QWidget> w(
            Window("frmAbout", {QStringLiteral("btnClose"), QStringLiteral("cmdOK"),
                                QStringLiteral("cmdSysInfo"), QStringLiteral("cmdTutorial")}));
        CreateTips(w.get());
        QCOMPARE(ControlTips().ToolText(w->findChild<QWidget*>(QStringLiteral("btnClose"))),
                 QStringLiteral("Exit and return to Main Screen"));
        QCOMPARE(ControlTips().ToolText(w->findChild<QWidget*>(QStringLiteral("cmdTutorial"))),
                 QStringLiteral("Click to view the Tutorial"));
    }

    void unknownWindowGetsNothing()
    {
        std::unique_ptr<QWidget> w(Window("frmElse", {QStringLiteral("btnClose")}));
        const QString before = ErrorLog();
        CreateTips(w.get());
        QVERIFY(ControlTips().ToolText(w->findChild<QWidget*>(QStringLiteral("btnClose"))).isEmpty());
        QCOMPARE(ErrorLog(), before);
    }

    void missingControlEndsTheRegistration()
    {
        // The table's order is btnClose, btnYes, cmdCancel, cmdNo, cmdOK, cmdSysInfo.
        std::unique_ptr<QWidget> w(Window("frmDialog", {QStringLiteral("btnClose"), QStringLiteral("btnYes"),
                                                        QStringLiteral("cmdNo"), QStringLiteral("cmdOK")}));
        CreateTips(w.get());
        QCOMPARE(ControlTips().ToolText(w->findChild<QWidget*>(QStringLiteral("btnYes"))),
                 QStringLiteral("Yes"));
        QVERIFY(ControlTips().ToolText(w->findChild<QWidget*>(QStringLiteral("cmdOK"))).isEmpty());
        QVERIFY(ErrorLog().contains(QStringLiteral("modToolTips:CreateTips Err Number = 438")));
    }

    void tipShowsAfterItsDelayAndHidesAgain()
    {
        std::unique_ptr<QWidget> w(Window("frmAd", {QStringLiteral("btnClose")}));
        CreateTips(w.get());
        QWidget* button = w->findChild<QWidget*>(QStringLiteral("btnClose"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button, &enter);
        QVERIFY(!ControlTips().Shown());
        QCOMPARE(ControlTips().findChild<QTimer*>(QStringLiteral("tipDelay"))->interval(), 1000);
        Fire(ControlTips(), "tipDelay");
        TipWindow* shown = ControlTips().Shown();
        QVERIFY(shown);
        QCOMPARE(shown->Text(), QStringLiteral("Exit and return to Main Screen"));
        QCOMPARE(shown->Background(), QColor(255, 255, 192));
        QCOMPARE(shown->TextColor(), QColor(Qt::black));
        QCOMPARE(shown->Style(), 1);
        QCOMPARE(ControlTips().findChild<QTimer*>(QStringLiteral("tipVisible"))->interval(), 5000);
        Fire(ControlTips(), "tipVisible");
        QVERIFY(!ControlTips().Shown());
        // The toolkit's own tooltip stays out of the way.
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QVERIFY(static_cast<QObject&>(ControlTips()).eventFilter(button, &help));
    }

    void balloonStyle()
    {
        cToolTip tips;
        tips.SetStyle(1);
        tips.SetStyle(1);
        QCOMPARE(tips.Style(), 1);
        tips.SetStyle(2);
        QWidget control;
        tips.SetToolTipObj(&control, QStringLiteral("Options"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&control, &enter);
        Fire(tips, "tipDelay");
        QVERIFY(tips.Shown());
        QCOMPARE(tips.Shown()->Style(), 2);
    }

    void tutorialChapterLinkIsAnArea()
    {
        QWidget w;
        w.setObjectName(QStringLiteral("frmTutorial"));
        auto* frame = new QWidget(&w);
        frame->setObjectName(QStringLiteral("slideframe"));
        auto* label = new QLabel(frame);
        label->setObjectName(QStringLiteral("Label2"));
        label->setGeometry(10, 20, 100, 15);
        CreateTips(&w);
        QCOMPARE(AreaTips().ToolText(frame, 0), QStringLiteral("Return to Chapter List"));
        MouseEvents::Hover(frame, {50, 25});
        Fire(AreaTips(), "tipDelay");
        QVERIFY(AreaTips().Shown());
        MouseEvents::Hover(frame, {150, 25}); // outside the label: no tip
        QVERIFY(!AreaTips().Shown());
    }
};

VANISTO_TEST_GUI_MAIN(TestToolTips)
#include "tst_tooltips.moc"
