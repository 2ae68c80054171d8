#include "TestEnvironment.h"
#include "engine/PendingDeletions.h"
#include "platform/CommandRelay.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString vn10()
{
    return TestEnvironment::binDir() + u"/vn10"_s;
}

// One real vn10 process with the relay's and the main window's reports switched on.
class Launch
{
public:
    explicit Launch(const QStringList& arguments, const QString& workingFolder = QDir::tempPath(),
                    const QProcessEnvironment& extra = {}, const QString& program = vn10())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_LOGGING_RULES"_s, u"vanisto.*.info=true"_s);
        environment.insert(extra);
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(workingFolder);
        m_process.start(program, arguments);
    }
    ~Launch() { stop(SIGKILL); }
    // Everything the process has reported so far, one line each.
    QStringList reports()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardError());
        return m_output.split(u'\n', Qt::SkipEmptyParts);
    }
    bool reported(const QString& line) { return reports().contains(line); }
    bool listening() { return !reports().filter(u"vanisto.relay: listening on"_s).isEmpty(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    // -1 for a process still running after 30 s or one that crashed.
    int exitCode()
    {
        const bool ended = m_process.waitForFinished(30000) || m_process.state() == QProcess::NotRunning;
        return ended && m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    void stop(int signal)
    {
        if (running())
            ::kill(pid_t(m_process.processId()), signal);
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QString m_output;
};

QString received(const QString& path)
{
    return u"vanisto.main: path received: "_s + path;
}

const QString Sentinel = u"vanisto.main: sentinel received"_s;
QString confFile()
{
    return TestEnvironment::configHome() + u"/Vanisto/Vanisto.conf"_s;
}

QByteArray storedSettings()
{
    QFile conf(confFile());
    return conf.open(QIODevice::ReadOnly) ? conf.readAll() : QByteArray();
}

void storeSettings(const QByteArray& lines)
{
    QDir().mkpath(TestEnvironment::configHome() + u"/Vanisto"_s);
    QFile conf(confFile());
    if (conf.open(QIODevice::WriteOnly))
        conf.write("[Config]\n" + lines);
}

void forgetEverything()
{
    QDir(TestEnvironment::configHome()).removeRecursively();
}

// A launch through the shell, which passes names as bytes where QProcess would pass text.
Launch* throughShell(const QString& script, const QString& folder)
{
    return new Launch({u"-c"_s, script, vn10(), folder}, folder, {}, u"/bin/sh"_s);
}

// A display of its own for the first instance, so that a click can reach its window.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s,
                                   u"-nolisten"_s, u"tcp"_s});
        if (m_server.waitForStarted() && m_server.waitForReadyRead(10000))
            m_name = u':' + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    QString name() const { return m_name; }
    // What xdotool (package xdotool) printed, trimmed; empty when it failed.
    QString xdotool(const QStringList& arguments) const
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, m_name);
        tool.setProcessEnvironment(environment);
        tool.start(u"xdotool"_s, arguments);
        const bool ok = tool.waitForFinished(10000) && tool.exitCode() == 0;
        return ok ? QString::fromUtf8(tool.readAllStandardOutput()).trimmed() : QString();
    }
    QString shownWindow() const
    {
        return xdotool({u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"vn10"_s});
    }

private:
    QProcess m_server;
    QString m_name;
};
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { forgetEverything(); }

    // The first instance's own command line comes back to it made absolute, without the
    // welcome; later launches hand over paths or, without any, the sentinel. A killed first
    // instance leaves its lock and socket, and the next launch still becomes the first.
    void everyLaunchReachesTheFirstInstance()
    {
        QTemporaryDir work;
        auto first = std::make_unique<Launch>(QStringList{u"my file.txt"_s}, work.path());
        QTRY_VERIFY_WITH_TIMEOUT(first->reported(received(work.path() + u"/my file.txt"_s)), 30000);
        QVERIFY(!first->reported(Sentinel));
        QVERIFY(storedSettings().contains("FirstStartEver=False\n"));
        QCOMPARE(Launch({}).exitCode(), 0);
        QTRY_VERIFY(first->reported(Sentinel));
        QCOMPARE(Launch({u"/srv/x y/z"_s, u"rel"_s}, work.path()).exitCode(), 0);
        QTRY_VERIFY(first->reported(received(work.path() + u"/rel"_s)));
        QVERIFY(first->reported(received(u"/srv/x y/z"_s)) && first->running());
        first->stop(SIGKILL);
        QVERIFY(QFile::exists(TestEnvironment::runtimeDir() + u"/vanisto/relay"_s));

        // A later start without paths sends nothing: the next thing it hears is another launch.
        Launch quiet({});
        QTRY_VERIFY_WITH_TIMEOUT(quiet.listening(), 10000);
        QCOMPARE(Launch({u"/tmp/probe"_s}).exitCode(), 0);
        QTRY_VERIFY(quiet.reported(received(u"/tmp/probe"_s)));
        QCOMPARE(quiet.reports().filter(u"received"_s).size(), 1);
    }

    // A vn10 without its libraries beside it (a broken install) says so and ends.
    void aProgramWithoutItsLibrariesSaysSo()
    {
        QTemporaryDir alone;
        QVERIFY(QFile::copy(vn10(), alone.filePath(u"vn10"_s)));
        Launch broken({}, QDir::tempPath(), {}, alone.filePath(u"vn10"_s));
        QCOMPARE(broken.exitCode(), 1);
        QVERIFY(!broken.reports().filter(u"library cannot be loaded"_s).isEmpty());
    }

    void tenSimultaneousLaunchesMakeOneFirstInstance()
    {
        std::vector<std::unique_ptr<Launch>> launches;
        for (int i = 0; i < 10; ++i)
            launches.push_back(std::make_unique<Launch>(QStringList{u"/tmp/item%1"_s.arg(i)}));
        Launch* survivor = nullptr;
        int handedOver = 0;
        for (const auto& launch : launches) {
            if (launch->exitCode() == 0)
                ++handedOver;
            else if (launch->running())
                survivor = launch.get();
        }
        QCOMPARE(handedOver, 9);
        QVERIFY(survivor);
        for (int i = 0; i < 10; ++i)
            QTRY_VERIFY_WITH_TIMEOUT(survivor->reported(received(u"/tmp/item%1"_s.arg(i))), 30000);
    }

    // A real window on a display of its own: a second launch's relative paths are listed, the
    // user clicks Yes in the middle of the row under the question, both files go and the
    // emptied list hides the window while the program runs on.
    void secondLaunchHandsItsPathsToTheRunningList()
    {
        storeSettings("NumOverwrite=1\nFirstStartEver=False\n");
        QTemporaryDir work;
        const QStringList files{work.path() + u"/a"_s, work.path() + u"/b c"_s};
        for (const QString& path : files) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(100000, 'x')) == 100000);
        }
        VirtualDisplay display;
        QVERIFY2(!display.name().isEmpty(), "Xvfb (package xvfb) did not start");
        QProcessEnvironment onDisplay;
        onDisplay.insert(u"DISPLAY"_s, display.name());
        onDisplay.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        Launch first({}, QDir::tempPath(), onDisplay);
        QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 10000);
        QCOMPARE(Launch({u"a"_s, u"b c"_s}, work.path()).exitCode(), 0);
        QTRY_VERIFY(first.reported(u"vanisto.main: listed: "_s + files[1]));
        QVERIFY(first.reported(u"vanisto.main: listed: "_s + files[0]));

        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = display.shownWindow()).isEmpty(), 10000);
        const QString geometry = display.xdotool({u"getwindowgeometry"_s, u"--shell"_s, window});
        const int width = geometry.section(u"WIDTH="_s, 1).section(u'\n', 0, 0).toInt();
        QVERIFY2(width > 0, qPrintable(geometry));
        display.xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(width / 2 - 76 + 37), u"98"_s,
                         u"click"_s, u"1"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(files[0]) && !QFile::exists(files[1]), 10000);
        QCOMPARE(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QTRY_VERIFY(display.shownWindow().isEmpty());
        QVERIFY(first.running());
    }

    // "café" in Latin-1 in a folder "déjà" in Latin-1, beside the names a lossy decoding makes
    // of them: the first instance's own name and a later launch's names (quotes, a line end,
    // bytes that are not text) reach the run whole, and the look-alikes stay.
    void namesThatAreNotTextReachTheRunExactly()
    {
        storeSettings("NumOverwrite=1\nFirstStartEver=False\nShredNow=True\n");
        QTemporaryDir work;
        // QDir cannot remove the names that are not text; rm removes by bytes.
        const auto removeWork = qScopeGuard([&] { QProcess::execute(u"rm"_s, {u"-rf"_s, work.path()}); });
        const QByteArray folder = QFile::encodeName(work.path()) + "/d\xE9j\xE0";
        const QList<QByteArray> handed{folder + "/caf\xE9.txt", folder + "/a b;c", folder + "/new\nline",
                                       folder + "/\xE9t\xE9"};
        const QList<QByteArray> alike{folder + "/caf\xEF\xBF\xBD.txt", folder + "/a b", folder + "/line",
                                      folder + "/\xEF\xBF\xBDt\xEF\xBF\xBD"};
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        for (const QByteArray& file : handed + alike)
            QCOMPARE(::close(::open(file.constData(), O_CREAT | O_WRONLY, 0600)), 0);
        const QString inFolder = u"cd \"$1/$(printf 'd\\351j\\340')\" && exec \"$0\" "_s;
        std::unique_ptr<Launch> first(
            throughShell(inFolder + u"\"$(printf 'caf\\351.txt')\""_s, work.path()));
        QTRY_VERIFY_WITH_TIMEOUT(::access(handed[0].constData(), F_OK) != 0, 30000);
        QVERIFY(first->running());
        std::unique_ptr<Launch> later(throughShell(
            inFolder + u"'a b;c' \"$(printf 'new\\nline')\" \"$(printf '\\351t\\351')\""_s, work.path()));
        QCOMPARE(later->exitCode(), 0);
        for (const QByteArray& file : handed)
            QTRY_VERIFY2_WITH_TIMEOUT(::access(file.constData(), F_OK) != 0, file.constData(), 30000);
        for (const QByteArray& file : alike)
            QCOMPARE(::access(file.constData(), F_OK), 0);
        QVERIFY(first->running());
    }

    // A first instance that may open only 64 descriptors (a low but real limit) and 300 clients
    // that connect and say nothing: the relay stays, and a launch of 1,000 paths arrives whole.
    void handOverUnderAbuse()
    {
        Launch first({u"--nofile=64:64"_s, vn10()}, QDir::tempPath(), {}, u"prlimit"_s);
        QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 30000);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 300; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(CommandRelay::socketPath());
            QVERIFY(idle.back()->waitForConnected(5000));
        }
        QStringList paths;
        for (int i = 0; i < 1000; ++i)
            paths << u"/tmp/many/%1"_s.arg(i);
        QCOMPARE(Launch(paths).exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(first.reports().filter(u"path received: /tmp/many/"_s).size(), 1000, 30000);
        QVERIFY(first.running() && QFile::exists(CommandRelay::socketPath()));
        QVERIFY(!first.reports().filter(u"no descriptor left"_s).isEmpty());
        QCOMPARE(Launch({u"/tmp/after-the-flood"_s}).exitCode(), 0);
        QTRY_VERIFY(first.reported(received(u"/tmp/after-the-flood"_s)));
    }

    // A first instance of another version refuses the hand-over, or one closes without an
    // answer: the launch says so and fails, whether it handed over the quick way (settings of a
    // started program) or through start-up.
    void aLaunchThatCannotDeliverSaysSo()
    {
        QLockFile lock(CommandRelay::lockPath());
        QVERIFY(lock.tryLock(0));
        QLocalServer older;
        QLocalServer::removeServer(CommandRelay::socketPath());
        QVERIFY(older.listen(CommandRelay::socketPath()));
        for (const QByteArray& answer : {QByteArray("V"), QByteArray()})
            for (const QByteArray& settings : {QByteArray("FirstStartEver=False\n"), QByteArray()}) {
                storeSettings(settings);
                Launch later({u"/tmp/x"_s});
                QVERIFY(older.waitForNewConnection(30000));
                QLocalSocket* client = older.nextPendingConnection();
                QTRY_VERIFY(client->bytesAvailable() >= 8);
                QVERIFY(client->readAll().startsWith("VNR2"));
                client->write(answer);
                client->flush();
                client->close();
                QCOMPARE(later.exitCode(), 1);
                const QString says = answer.isEmpty() ? u"did not answer"_s : u"another version"_s;
                QVERIFY2(!later.reports().filter(says).isEmpty(), qPrintable(later.reports().join(u'\n')));
            }
    }

    // Files queued last session are shredded at start, from the event loop: a launch meanwhile
    // is answered while files of a long queue are still there. What was not queued stays, and
    // each shredded path leaves the queue.
    void handOverAnsweredWhileTheQueueIsWorkedThrough()
    {
        QTemporaryDir work;
        QStringList queued;
        for (int i = 0; i <= 2000; ++i) {
            const QString path = work.filePath(u"q%1"_s.arg(i));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("queued") == 6);
            file.close();
            struct stat info
            {
            };
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
            if (i < 2000 && DeleteAfterReboot(path, info))
                queued << path;
        }
        QCOMPARE(queued.size(), 2000);
        Launch first({});
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queued.first()), 30000);
        QCOMPARE(Launch({u"/tmp/during-the-queue"_s}).exitCode(), 0);
        QVERIFY(QFile::exists(queued.last()));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queued.last()), 120000);
        QVERIFY(first.reported(received(u"/tmp/during-the-queue"_s)));
        QTRY_COMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{u"q2000"_s});
        const auto queuedText = [] {
            QFile file(PendingDeletions::queueFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
        };
        QTRY_VERIFY2(!queuedText().contains(QFile::encodeName(work.path())), queuedText().constData());
    }

    // A first run without paths asks for the welcome and stores the options. By the dynamic
    // loader's own report (LD_DEBUG) of what a process maps, a later launch then hands over in
    // plain C++ and maps no Qt library at all; one that the quick way leaves to start-up
    // (the settings gone, as before a first start) takes Qt Core and the start library, still
    // nothing of the windows nor Qt Network. The first instance maps them all.
    void aLaterLaunchLoadsNoWindowLibrary()
    {
        QProcessEnvironment loaderReports;
        loaderReports.insert(u"LD_DEBUG"_s, u"libs"_s);
        const auto loaded = [](Launch& launch) { return launch.reports().filter(u"calling init: "_s); };
        Launch first({}, QDir::tempPath(), loaderReports);
        QTRY_VERIFY_WITH_TIMEOUT(first.listening() && first.reported(Sentinel), 30000);
        for (const char* stored :
             {"FirstStartEver=False\n", "NumOverwrite=8\n", "ShowState=hidelist\n", "ShredNow=False\n"})
            QVERIFY2(storedSettings().contains(stored), storedSettings().constData());
        Launch quick({u"/tmp/handed-over-lightly"_s}, QDir::tempPath(), loaderReports);
        QCOMPARE(quick.exitCode(), 0);
        QTRY_VERIFY(first.reported(received(u"/tmp/handed-over-lightly"_s)));
        QVERIFY2(loaded(quick).filter(u"/libQt6"_s).isEmpty(), qPrintable(loaded(quick).join(u'\n')));

        forgetEverything();
        Launch started({u"/tmp/handed-over-by-start-up"_s}, QDir::tempPath(), loaderReports);
        QCOMPARE(started.exitCode(), 0);
        QTRY_VERIFY(first.reported(received(u"/tmp/handed-over-by-start-up"_s)));
        QVERIFY(storedSettings().contains("FirstStartEver=False\n"));
        for (const QString& library : {u"/libQt6Core.so"_s, u"/libvanisto-start.so"_s})
            QVERIFY2(!loaded(started).filter(library).isEmpty(), qPrintable(library));
        for (const QString& library :
             {u"/libvanisto-gui.so"_s, u"/libQt6Widgets.so"_s, u"/libQt6Gui.so"_s, u"/libQt6Network.so"_s}) {
            QVERIFY2(!loaded(first).filter(library).isEmpty(), qPrintable(library));
            QVERIFY2(loaded(started).filter(library).isEmpty(), qPrintable(library));
        }
    }
};

VANISTO_TEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
