#include "TestEnvironment.h"
#include "engine/PendingDeletions.h"

#include "platform/CommandRelay.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// One real vn10 process with the relay's and the main window's reports switched on.
class Launch
{
public:
    explicit Launch(const QStringList& arguments, const QString& workingFolder = QDir::tempPath(),
                    const QProcessEnvironment& extra = {},
                    const QString& program = TestEnvironment::binDir() + QStringLiteral("/vn10"))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vanisto.*.info=true"));
        environment.insert(extra);
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(workingFolder);
        m_process.start(program, arguments);
    }
    ~Launch()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Everything the process has reported so far, one line each.
    QStringList reports()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardError());
        return m_output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    bool reported(const QString& line) { return reports().contains(line); }
    bool listening() { return !reports().filter(QStringLiteral("vanisto.relay: listening on")).isEmpty(); }
    bool finishedWithSuccess()
    {
        return m_process.waitForFinished(30000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }
    bool running() const { return m_process.state() == QProcess::Running; }
    int exitCode()
    {
        m_process.waitForFinished(30000);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    void stop(int signal)
    {
        ::kill(pid_t(m_process.processId()), signal);
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QString m_output;
};

QString received(const QString& path)
{
    return QStringLiteral("vanisto.main: path received: ") + path;
}

const QString Sentinel = QStringLiteral("vanisto.main: sentinel received");

QString storedFirstStartEver()
{
    QFile conf(TestEnvironment::configHome() + QStringLiteral("/Vanisto/Vanisto.conf"));
    if (!conf.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray& line : conf.readAll().split('\n'))
        if (line.startsWith("FirstStartEver="))
            return QString::fromUtf8(line.mid(15));
    return QString();
}

void storeSettings(const QByteArray& lines)
{
    QDir().mkpath(TestEnvironment::configHome() + QStringLiteral("/Vanisto"));
    QFile conf(TestEnvironment::configHome() + QStringLiteral("/Vanisto/Vanisto.conf"));
    if (conf.open(QIODevice::WriteOnly))
        conf.write("[Config]\n" + lines);
}

void forgetEverything()
{
    QDir(TestEnvironment::configHome()).removeRecursively();
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { forgetEverything(); }
    void everyLaunchReachesTheFirstInstance();
    void firstRunWithoutPathsAsksForWelcome();
    void tenSimultaneousLaunchesMakeOneFirstInstance();
    void killedFirstInstanceDoesNotBlockTheNext();
    void secondLaunchHandsItsPathsToTheRunningList();
    void namesThatAreNotTextReachTheRunExactly();
    void handOverUnderAbuse();
    void aLaunchThatCannotDeliverSaysSo();
    void handOverAnsweredWhileTheQueueIsWorkedThrough();
    void aLaterLaunchLoadsNoWindowLibrary();
};

// The dynamic loader's own report (LD_DEBUG) of what a process maps: a later launch hands over
// in plain C++ and maps no Qt library at all; one that the quick way leaves to start-up (here
// the settings are gone, as before a first start) takes Qt Core and the start library, still
// nothing of the windows nor Qt Network. The first instance maps them all.
void TestStartup::aLaterLaunchLoadsNoWindowLibrary()
{
    QProcessEnvironment loaderReports;
    loaderReports.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    const auto loaded = [](Launch& launch) {
        return launch.reports().filter(QStringLiteral("calling init: "));
    };
    Launch first({}, QDir::tempPath(), loaderReports);
    QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 30000);
    QTRY_COMPARE(storedFirstStartEver(), QStringLiteral("False"));
    Launch quick({QStringLiteral("/tmp/handed-over-lightly")}, QDir::tempPath(), loaderReports);
    QCOMPARE(quick.exitCode(), 0);
    QTRY_VERIFY(first.reported(received(QStringLiteral("/tmp/handed-over-lightly"))));
    QVERIFY2(loaded(quick).filter(QStringLiteral("/libQt6")).isEmpty(),
             qPrintable(loaded(quick).join(u'\n')));

    forgetEverything();
    Launch started({QStringLiteral("/tmp/handed-over-by-start-up")}, QDir::tempPath(), loaderReports);
    QCOMPARE(started.exitCode(), 0);
    QTRY_VERIFY(first.reported(received(QStringLiteral("/tmp/handed-over-by-start-up"))));
    QCOMPARE(storedFirstStartEver(), QStringLiteral("False"));
    for (const QString& library : {QStringLiteral("/libQt6Core.so"), QStringLiteral("/libvanisto-start.so")})
        QVERIFY2(!loaded(started).filter(library).isEmpty(), qPrintable(library));
    for (const QString& library : {QStringLiteral("/libvanisto-gui.so"), QStringLiteral("/libQt6Widgets.so"),
                                   QStringLiteral("/libQt6Gui.so"), QStringLiteral("/libQt6Network.so")}) {
        QVERIFY2(!loaded(first).filter(library).isEmpty(), qPrintable(library));
        QVERIFY2(loaded(started).filter(library).isEmpty(), qPrintable(library));
    }
}

// Files queued last session are shredded at start, from the event loop: a launch meanwhile is
// answered while files of a long queue are still there. What was not queued stays, and each
// shredded path leaves the queue.
void TestStartup::handOverAnsweredWhileTheQueueIsWorkedThrough()
{
    QTemporaryDir work;
    QStringList queued;
    for (int i = 0; i < 2001; ++i) {
        const QString path = work.filePath(QStringLiteral("q%1").arg(i));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("queued") == 6);
        file.close();
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        if (i < 2000) {
            QVERIFY(DeleteAfterReboot(path, info));
            queued << path;
        }
    }
    Launch first({});
    QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queued.first()), 30000);
    Launch during({QStringLiteral("/tmp/during-the-queue")});
    QCOMPARE(during.exitCode(), 0);
    QVERIFY(QFile::exists(queued.last()));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queued.last()), 120000);
    QVERIFY(first.reported(received(QStringLiteral("/tmp/during-the-queue"))));
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{QStringLiteral("q2000")});
    const auto queuedText = [] {
        QFile file(PendingDeletions::queueFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    };
    QTRY_VERIFY2(!queuedText().contains(QFile::encodeName(work.path())), queuedText().constData());
}

// A first instance that may open only 64 descriptors (a low but real limit) and 300 clients
// that connect and say nothing: the relay stays, and a launch of 1,000 paths arrives whole.
void TestStartup::handOverUnderAbuse()
{
    Launch first({QStringLiteral("--nofile=64:64"), TestEnvironment::binDir() + QStringLiteral("/vn10")},
                 QDir::tempPath(), {}, QStringLiteral("prlimit"));
    QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 30000);
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 300; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(CommandRelay::socketPath());
        QVERIFY(idle.back()->waitForConnected(5000));
    }
    QStringList paths;
    for (int i = 0; i < 1000; ++i)
        paths << QStringLiteral("/tmp/many/%1").arg(i);
    Launch many(paths);
    QCOMPARE(many.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(first.reports().filter(QStringLiteral("path received: /tmp/many/")).size(),
                              1000, 30000);
    QVERIFY(first.running() && QFile::exists(CommandRelay::socketPath()));
    QVERIFY(!first.reports().filter(QStringLiteral("no descriptor left")).isEmpty());
    Launch after({QStringLiteral("/tmp/after-the-flood")});
    QCOMPARE(after.exitCode(), 0);
    QTRY_VERIFY(first.reported(received(QStringLiteral("/tmp/after-the-flood"))));
}

// A first instance of another version refuses the hand-over: the launch says so and fails,
// whether it handed over the quick way (settings of a started program) or through start-up.
void TestStartup::aLaunchThatCannotDeliverSaysSo()
{
    QLockFile lock(CommandRelay::lockPath());
    QVERIFY(lock.tryLock(0));
    QLocalServer older;
    QLocalServer::removeServer(CommandRelay::socketPath());
    QVERIFY(older.listen(CommandRelay::socketPath()));
    for (const QByteArray& settings : {QByteArray("FirstStartEver=False\n"), QByteArray()}) {
        storeSettings(settings);
        Launch later({QStringLiteral("/tmp/x")});
        QVERIFY(older.waitForNewConnection(30000));
        QLocalSocket* client = older.nextPendingConnection();
        QTRY_VERIFY(client->bytesAvailable() >= 8);
        QVERIFY(client->readAll().startsWith("VNR2"));
        client->write("V");
        client->flush();
        QCOMPARE(later.exitCode(), 1);
        QVERIFY(!later.reports().filter(QStringLiteral("another version")).isEmpty());
    }
}

void TestStartup::everyLaunchReachesTheFirstInstance()
{
    QTemporaryDir work;
    Launch first({QStringLiteral("my file.txt")}, work.path());
    // The first instance's own command line comes back to it, made absolute; no welcome.
    QTRY_VERIFY_WITH_TIMEOUT(first.reported(received(work.path() + QStringLiteral("/my file.txt"))), 30000);
    QVERIFY(!first.reported(Sentinel));
    QCOMPARE(storedFirstStartEver(), QStringLiteral("False"));

    Launch plain({});
    QVERIFY(plain.finishedWithSuccess());
    QTRY_VERIFY(first.reported(Sentinel));

    Launch withPaths({QStringLiteral("/srv/x y/z"), QStringLiteral("rel")}, work.path());
    QVERIFY(withPaths.finishedWithSuccess());
    QTRY_VERIFY(first.reported(received(work.path() + QStringLiteral("/rel"))));
    QVERIFY(first.reported(received(QStringLiteral("/srv/x y/z"))));
    QVERIFY(first.running());
    first.stop(SIGTERM);

    // A later start without paths sends nothing: the next thing it hears is another launch.
    Launch quiet({});
    QTRY_VERIFY_WITH_TIMEOUT(quiet.listening(), 10000);
    Launch probe({QStringLiteral("/tmp/probe")});
    QVERIFY(probe.finishedWithSuccess());
    QTRY_VERIFY(quiet.reported(received(QStringLiteral("/tmp/probe"))));
    QCOMPARE(quiet.reports().filter(QStringLiteral("received")).size(), 1);
    QCOMPARE(storedFirstStartEver(), QStringLiteral("False"));
}

void TestStartup::firstRunWithoutPathsAsksForWelcome()
{
    Launch first({});
    QTRY_VERIFY_WITH_TIMEOUT(first.reported(Sentinel), 30000);
    QVERIFY(first.running());
    QCOMPARE(storedFirstStartEver(), QStringLiteral("False"));
    // Start-up wrote the option settings back.
    QFile conf(TestEnvironment::configHome() + QStringLiteral("/Vanisto/Vanisto.conf"));
    QVERIFY(conf.open(QIODevice::ReadOnly));
    const QByteArray text = conf.readAll();
    QVERIFY(text.contains("NumOverwrite=8") && text.contains("ShowState=hidelist") &&
            text.contains("ShredNow=False"));
}

void TestStartup::tenSimultaneousLaunchesMakeOneFirstInstance()
{
    std::vector<std::unique_ptr<Launch>> launches;
    for (int i = 0; i < 10; ++i)
        launches.push_back(std::make_unique<Launch>(QStringList{QStringLiteral("/tmp/item%1").arg(i)}));

    Launch* survivor = nullptr;
    int handedOver = 0;
    for (const auto& launch : launches) {
        if (launch->finishedWithSuccess())
            ++handedOver;
        else if (launch->running())
            survivor = launch.get();
    }
    QCOMPARE(handedOver, 9);
    QVERIFY(survivor);
    for (int i = 0; i < 10; ++i)
        QTRY_VERIFY_WITH_TIMEOUT(survivor->reported(received(QStringLiteral("/tmp/item%1").arg(i))), 30000);
}

void TestStartup::killedFirstInstanceDoesNotBlockTheNext()
{
    {
        Launch first({QStringLiteral("/tmp/before")});
        QTRY_VERIFY_WITH_TIMEOUT(first.reported(received(QStringLiteral("/tmp/before"))), 30000);
        first.stop(SIGKILL);
    }
    // The lock and the socket of the dead instance are still there.
    QVERIFY(QFile::exists(TestEnvironment::runtimeDir() + QStringLiteral("/vanisto/relay")));

    Launch next({QStringLiteral("/tmp/after")});
    QTRY_VERIFY_WITH_TIMEOUT(next.reported(received(QStringLiteral("/tmp/after"))), 30000);
    Launch later({QStringLiteral("/tmp/later")});
    QVERIFY(later.finishedWithSuccess());
    QTRY_VERIFY(next.reported(received(QStringLiteral("/tmp/later"))));
}

// A display of its own for the first instance, so that a click can reach its window.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (m_server.waitForStarted() && m_server.waitForReadyRead(10000))
            m_name = QLatin1Char(':') + QString::fromLatin1(m_server.readLine().trimmed());
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
        environment.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
            return QString();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

private:
    QProcess m_server;
    QString m_name;
};

void TestStartup::secondLaunchHandsItsPathsToTheRunningList()
{
    storeSettings("NumOverwrite=1\nFirstStartEver=False\n");
    QTemporaryDir work;
    const QStringList files{work.path() + QStringLiteral("/a"), work.path() + QStringLiteral("/b c")};
    for (const QString& path : files) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100000, 'x'));
    }
    VirtualDisplay display;
    QVERIFY2(!display.name().isEmpty(), "Xvfb (package xvfb) did not start");
    QProcessEnvironment onDisplay;
    onDisplay.insert(QStringLiteral("DISPLAY"), display.name());
    onDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    Launch first({}, QDir::tempPath(), onDisplay);
    QTRY_VERIFY_WITH_TIMEOUT(first.listening(), 10000);
    Launch second({QStringLiteral("a"), QStringLiteral("b c")}, work.path());
    QVERIFY(second.finishedWithSuccess());
    QTRY_VERIFY(first.reported(QStringLiteral("vanisto.main: listed: ") + files[1]));
    QVERIFY(first.reported(QStringLiteral("vanisto.main: listed: ") + files[0]));

    // The window shows the question; the user clicks Yes, in the middle of the row under it.
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(window = display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                    QStringLiteral("--class"), QStringLiteral("vn10")}))
             .isEmpty(),
        10000);
    const QString geometry =
        display.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    const int width = geometry.section(QStringLiteral("WIDTH="), 1).section(QLatin1Char('\n'), 0, 0).toInt();
    QVERIFY2(width > 0, qPrintable(geometry));
    const QString x = QString::number(width / 2 - 76 + 37);
    display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, x, QStringLiteral("98"),
                     QStringLiteral("click"), QStringLiteral("1")});
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(files[0]) && !QFile::exists(files[1]), 10000);
    QCOMPARE(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    // The emptied list hides the window; the program runs on.
    QTRY_VERIFY(display
                    .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--class"), QStringLiteral("vn10")})
                    .isEmpty());
    QVERIFY(first.running());
}

void TestStartup::namesThatAreNotTextReachTheRunExactly()
{
    storeSettings("NumOverwrite=1\nFirstStartEver=False\nShredNow=True\n");
    // "café" in Latin-1 in a folder "déjà" in Latin-1, and the name a lossy decoding makes of it.
    QTemporaryDir work;
    // QDir cannot remove the names that are not text; rm removes by bytes.
    const auto removeWork = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), work.path()});
    });
    const QByteArray folder = QFile::encodeName(work.path()) + "/d\xE9j\xE0";
    const QByteArray exact = folder + "/caf\xE9.txt";
    const QByteArray lookAlike = folder + "/caf\xEF\xBF\xBD.txt";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    for (const QByteArray& file : {exact, lookAlike})
        QCOMPARE(::close(::open(file.constData(), O_CREAT | O_WRONLY, 0600)), 0);

    // QProcess would pass the name as text; the shell passes its bytes.
    Launch first(
        {QStringLiteral("-c"),
         QStringLiteral("cd \"$1/$(printf 'd\\351j\\340')\" && exec \"$0\" \"$(printf 'caf\\351.txt')\""),
         TestEnvironment::binDir() + QStringLiteral("/vn10"), work.path()},
        work.path(), {}, QStringLiteral("/bin/sh"));
    QTRY_VERIFY_WITH_TIMEOUT(::access(exact.constData(), F_OK) != 0, 30000);
    QCOMPARE(::access(lookAlike.constData(), F_OK), 0);
    QVERIFY(first.running());

    // A later launch, which hands over without the windows, from the same folder: each name
    // reaches the run whole, and none is cut where a text would be split.
    const QList<QByteArray> handed{folder + "/a b;c", folder + "/new\nline", folder + "/\xE9t\xE9"};
    const QList<QByteArray> alike{folder + "/a b", folder + "/line", folder + "/\xEF\xBF\xBDt\xEF\xBF\xBD"};
    for (const QByteArray& file : handed + alike)
        QCOMPARE(::close(::open(file.constData(), O_CREAT | O_WRONLY, 0600)), 0);
    Launch later({QStringLiteral("-c"),
                  QStringLiteral("cd \"$1/$(printf 'd\\351j\\340')\" && exec \"$0\" 'a b;c' \"$(printf "
                                 "'new\\nline')\" \"$(printf '\\351t\\351')\""),
                  TestEnvironment::binDir() + QStringLiteral("/vn10"), work.path()},
                 work.path(), {}, QStringLiteral("/bin/sh"));
    QCOMPARE(later.exitCode(), 0);
    for (const QByteArray& file : handed)
        QTRY_VERIFY2_WITH_TIMEOUT(::access(file.constData(), F_OK) != 0, file.constData(), 30000);
    for (const QByteArray& file : alike)
        QCOMPARE(::access(file.constData(), F_OK), 0);
    QVERIFY(first.running());
}

VANISTO_TEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
