#include "LocalWebSite.h"
#include "TestEnvironment.h"
#include "UserActions.h"
#include "common/Settings.h"
#include "engine/ShredWindow.h"
#include "online/OnlineCheck.h"
#include "online/frmAd.h"
#include "online/modGetConnect.h"
#include "platform/AppFolder.h"
#include "shredlist/frmMainCode.h"

#include <QLabel>
#include <QTextBrowser>

using namespace UserActions;

// The user's browser for HTML: a program that records its arguments, chosen in the test's own
// XDG folders (the system's MIME types stay known); without `associated`, none is chosen.
class FakeBrowser
{
public:
    explicit FakeBrowser(bool associated = true)
    {
        const QString system = TestEnvironment::root() + u"/system"_s;
        QDir().mkpath(system);
        QFile::link(u"/usr/share/mime"_s, system + u"/mime"_s);
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
        for (const char* desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "DISPLAY"})
            qunsetenv(desktop);
        // xdg-mime takes no space or quote in the program's path.
        const QString program = TestEnvironment::root() + u"/fakebrowser"_s;
        Write(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(m_record) + "'\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(TestEnvironment::dataHome() + u"/applications"_s);
        Write(TestEnvironment::dataHome() + u"/applications/fake-browser.desktop"_s,
              "[Desktop Entry]\nType=Application\nName=Fake\nExec=" + QFile::encodeName(program) +
                  " --new-window %U\n[Desktop Action private]\nExec=wrong\n");
        Write(m_choice, associated ? "[Default Applications]\ntext/html=fake-browser.desktop\n" : "");
        QFile::remove(m_record);
    }
    ~FakeBrowser() { QFile::remove(m_choice); }

    // The arguments of the last start, one a line.
    QString arguments() const
    {
        QFile file(m_record);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    const QString m_record = TestEnvironment::root() + u"/browser arguments"_s;
    const QString m_choice = TestEnvironment::configHome() + u"/mimeapps.list"_s;
};

class TestOnlineCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        InstallOnlineCheck(Window());
        Window().Form_Load();
        QCOMPARE(Window().TimerInterval(RunTimer::CheckOnline), 5000);
        Window().ShowForm();
        QCoreApplication::processEvents(); // start-up's queued pending deletions leave the run Stopped
    }
    void init()
    {
        m_site = std::make_unique<LocalWebSite>();
        modGetConnect::SetSiteAddress(m_site->address());
        QSettings(u"vn10"_s, u"vn10"_s).clear();
        Window().StopBall();
    }

    // Nothing is fetched while a run shreds; a version (text) asks once; Yes opens the site or says where.
    void upgradeIsOfferedOncePerVersion()
    {
        m_site->serve("/version.txt", "1.1\r\n" + Today() + "\r\nNew in 1.1\r\n");
        const QString question = u"Upgrade information...|New in 1.1\n\n\nWould you like to visit the "
                                 "Vanisto website for more information?"_s;
        {
            FakeBrowser none(false);
            DialogAnswerer user({u"btnYes"_s, u"cmdOK"_s});
            OnlineCheck run(Window());
            Window().setCaption(Caption::lblstatus, RunCaption::Shredding);
            run.CheckOnline_Timer();
            QTRY_COMPARE(m_site->count("/"), 1);
            QTest::qWait(300);
            QCOMPARE(m_site->count("/version.txt"), 0);
            Window().setCaption(Caption::lblstatus, RunCaption::Stopped);
            RunCheck(run);
            QCOMPARE(m_site->count("/version.txt"), 1);
            QVERIFY(!QFile::exists(AppFolder::file(u"version.txt"_s))); // read, never kept
            QCOMPARE(user.asked,
                     QStringList({question, u"Navigation error...|We were unable to auto-navigate to the "
                                            "Vanisto website.  Please visit us at \n"_s +
                                                m_site->address() + u"\nfor upgrade information."_s}));
            QCOMPARE(Window().TimerInterval(RunTimer::CheckOnline), 0);
            QVERIFY(!Window().ControlVisible(RunControl::pic1));
        }
        FakeBrowser browser;
        m_site->serve("/version.txt", "1.10\r\n" + Today() + "\r\nNew in 1.1\r\n");
        for (const QStringList& expected : {QStringList{question}, QStringList{}}) {
            DialogAnswerer user({u"btnYes"_s});
            OnlineCheck run(Window());
            RunCheck(run);
            QCOMPARE(user.asked, expected);
        }
        QTRY_COMPARE(browser.arguments(), u"--new-window\n"_s + m_site->address() + QLatin1Char('\n'));
    }

    // The ball's window shows the page as text only and marks it seen; a link opens in the user's browser
    // for HTML, the address one argument.
    void announcementsAreShownOnceAndMarkedSeen()
    {
        m_site->serve("/version.txt", "1.0\r\n01/02/2030\r\n");
        m_site->serve("/announce.htm",
                      "<html><head><link rel=stylesheet href='/style.css'></head><body>"
                      "<p>Big news</p><img src='/remote.png'><a href=\"/more.htm?c=1&amp;d='2'\">More</a>"
                      "</body></html>");
        RunCheck(*Window().findChild<OnlineCheck*>());
        QVERIFY(Window().ControlVisible(RunControl::pic1));
        QCOMPARE(Window().TimerInterval(RunTimer::Timer1), 20);
        OnlineCheck again(Window()); // news until the window has shown it
        RunCheck(again);
        QVERIFY(Window().ControlVisible(RunControl::pic1));

        FakeBrowser browser;
        WhenShown announcements(u"frmAd"_s, [](QWidget* window) {
            auto* view = window->findChild<QTextBrowser*>(u"WebBrowser1"_s);
            QTRY_VERIFY(view->toPlainText().contains(u"Big news"_s));
            QCOMPARE(window->windowTitle(), u"Vanisto 1.0 Announcements"_s);
            QTextCursor link(view->document()); // clicked on its text, as a user does
            link.setPosition(view->document()->find(u"More"_s).selectionStart() + 1);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(link).center());
        });
        QTest::mouseMove(Child(&Window(), "pic1"));
        Click(&Window(), "btnBall");
        QCOMPARE(announcements.count(), 1);
        QCOMPARE(ReadStringSetting(Setting::NewAnnouncementsDate), u"01/02/2030"_s);
        QVERIFY(!Window().ControlVisible(RunControl::pic1));
        QTRY_COMPARE(browser.arguments(),
                     u"--new-window\n"_s + m_site->address() + u"/more.htm?c=1&d='2'\n"_s);
        QCOMPARE(m_site->count("/remote.png") + m_site->count("/style.css"), 0);
        QVERIFY(!QFile::exists(AppFolder::file(u"xxx.html"_s))); // the probe for the browser is gone
    }

    // Offline nothing shows, the timer keeps trying, the announcements window shows its frame only.
    void offlineNothingHappens()
    {
        m_site->close();
        DialogAnswerer user({});
        OnlineCheck run(Window());
        Window().SetTimerInterval(RunTimer::CheckOnline, 5000);
        run.CheckOnline_Timer();
        QTest::qWait(500);
        QVERIFY(!run.state().onlineCheckDone);
        QCOMPARE(Window().TimerInterval(RunTimer::CheckOnline), 5000);

        SaveStringSetting(Setting::NewAnnouncementsDate, u"11/11/2011"_s);
        Window().StartBall();
        const auto tick = [](int times) {
            for (int i = 0; i < times; ++i)
                Window().Timer1_Timer();
            return Child<QLabel>(&Window(), "pic1")->pixmap().toImage();
        };
        const QImage faded = tick(25);
        QCOMPARE(tick(10), faded); // faded in, the ball holds its picture until it changes colour
        WhenShown announcements(u"frmAd"_s, [](QWidget* window) {
            QTest::qWait(500);
            QVERIFY(window->findChild<QTextBrowser*>()->isHidden());
            Click(window, "btnClose");
        });
        OpenAnnouncementsWindow(Window(), run.state());
        QCOMPARE(announcements.count(), 1);
        QCOMPARE(ReadStringSetting(Setting::NewAnnouncementsDate), u"11/11/2011"_s);
        QVERIFY(Window().ControlVisible(RunControl::pic1));
        QCOMPARE(user.asked, QStringList{});
    }

private:
    static frmMainCode& Window() { return *frmMainCode::instance(); }
    static QByteArray Today() { return QDate::currentDate().toString(u"MM/dd/yyyy"_s).toLatin1(); }

    static void RunCheck(OnlineCheck& check)
    {
        Window().SetTimerInterval(RunTimer::CheckOnline, 5000);
        check.CheckOnline_Timer();
        QTRY_VERIFY_WITH_TIMEOUT(check.state().onlineCheckDone, 10000);
    }

    std::unique_ptr<LocalWebSite> m_site;
};

VANISTO_TEST_GUI_MAIN(TestOnlineCheck)
#include "tst_onlinecheck.moc"
