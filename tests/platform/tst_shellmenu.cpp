#include "SessionFiles.h"
#include "TestEnvironment.h"
#include "platform/CommandRelay.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const auto Helper = [] { return TestEnvironment::binDir() + u"/vanisto-shellmenu"_s; };

// The helper as a file manager runs it: bash reads NUL-separated raw names back into its arguments.
class HelperRun
{
public:
    explicit HelperRun(const QList<QByteArray>& arguments, const QString& reports = QString())
    {
        // A program the helper starts writes its reports where the helper does.
        if (!reports.isEmpty())
            m_process.setStandardErrorFile(reports, QIODevice::Append);
        writeFile(m_dir.filePath(u"names"_s), arguments.join('\0'));
        m_process.start(u"/bin/bash"_s,
                        {u"-c"_s, u"mapfile -d '' names < \"$1\"; exec \"$0\" \"${names[@]}\""_s, Helper(),
                         m_dir.filePath(u"names"_s)});
    }
    int exitCode()
    {
        m_process.waitForFinished(30000);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

const auto Settings = [] { return TestEnvironment::configHome() + u"/Vanisto/Vanisto.conf"_s; };

// The first instance the helper started, ended when the test ends.
qint64 RunningInstance()
{
    QLockFile lock(CommandRelay::lockPath());
    qint64 pid = 0;
    QString host, application;
    return lock.getLockInfo(&pid, &host, &application) && ::kill(pid_t(pid), 0) == 0 ? pid : 0;
}

const auto Exists = [](const QByteArray& path) {
    return ::faccessat(AT_FDCWD, path.constData(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
};
} // namespace

class TestShellMenu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        if (const qint64 pid = RunningInstance()) {
            ::kill(pid_t(pid), SIGTERM);
            QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(pid), 0) != 0, 10000);
        }
    }

    void entryIsOfferedOnlyForItemsThatMayGo_data()
    {
        QTest::addColumn<QByteArrayList>("selection");
        QTest::addColumn<int>("status");
        const QByteArray file = QFile::encodeName(QDir::tempPath()) + "/vanisto-shellmenu-offered";
        writeFile(QFile::decodeName(file), {});
        const QByteArray applications = QFile::encodeName(TestEnvironment::dataHome()) + "/applications";
        QDir().mkpath(QFile::decodeName(applications));
        QTest::newRow("a file") << QByteArrayList{file} << 0;
        QTest::newRow("nothing") << QByteArrayList{} << 1;
        QTest::newRow("the root") << QByteArrayList{"/"} << 1;
        QTest::newRow("a system folder with a file") << QByteArrayList{file, "/usr"} << 1;
        QTest::newRow("the applications folder") << QByteArrayList{applications} << 1;
        QTest::newRow("inside the applications folder") << QByteArrayList{applications + "/x"} << 0;
    }
    void entryIsOfferedOnlyForItemsThatMayGo()
    {
        QFETCH(QByteArrayList, selection);
        QFETCH(int, status);
        QCOMPARE(HelperRun(QByteArrayList{"--before-popup"} + selection).exitCode(), status);
        // A click on an entry that would not have been offered does nothing.
        if (status != 0)
            QCOMPARE(HelperRun(selection).exitCode(), 1);
        QCOMPARE(RunningInstance(), 0);
    }

    // No Vanisto runs and two clicks come at once: one program starts and takes both.
    void clicksWhileNothingRunsStartOneProgram()
    {
        writeFile(Settings(), "[Config]\nFirstStartEver=False\nShredNow=False\n");
        QTemporaryDir work;
        const QString reports = work.filePath(u"reports"_s);
        qputenv("QT_LOGGING_RULES", "vanisto.*.info=true");
        const QByteArray folder = QFile::encodeName(work.path());
        const QList<QByteArray> names = {folder + "/one", folder + "/two", folder + "/three"};
        for (const QByteArray& name : names)
            QCOMPARE(::close(::open(name.constData(), O_CREAT | O_WRONLY, 0600)), 0);
        HelperRun first(names.mid(0, 2), reports);
        HelperRun second(names.mid(2), reports);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        qunsetenv("QT_LOGGING_RULES");
        QVERIFY(RunningInstance() != 0);
        QFile log(reports);
        QStringList lines;
        QTRY_VERIFY_WITH_TIMEOUT((log.open(QIODevice::ReadOnly),
                                  lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n')),
                                  log.close(), lines.filter(u"vanisto.main: selected:"_s).size() == 3),
                                 10000);
        for (const QByteArray& name : names)
            QVERIFY(lines.contains(u"vanisto.main: selected: "_s + QString::fromUtf8(name)));
        QCOMPARE(lines.filter(u"vanisto.relay: listening on"_s).size(), 1);
    }

    // A slow-answering instance gets the click once: not taken for missing, resent, or joined by another.
    void slowInstanceGetsTheClickOnce()
    {
        QLocalServer slow;
        QDir().mkpath(QFileInfo(CommandRelay::socketPath()).path());
        QLocalServer::removeServer(CommandRelay::socketPath());
        QVERIFY(slow.listen(CommandRelay::socketPath()));
        int clicks = 0;
        connect(&slow, &QLocalServer::newConnection, [&] {
            QLocalSocket* socket = slow.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, [&clicks, socket] {
                if (socket->readAll().contains("ContextMenu_Click") && ++clicks == 1)
                    QTimer::singleShot(800, socket, [socket] { socket->write("A", 1); });
            });
        });
        QTemporaryDir work;
        QProcess helper;
        helper.start(Helper(), {work.path()});
        QTRY_COMPARE_WITH_TIMEOUT(helper.state(), QProcess::NotRunning, 10000);
        QCOMPARE(helper.exitCode(), 0);
        QCOMPARE(clicks, 1);
        QCOMPARE(RunningInstance(), 0);
    }

    // With Instant Shred on, exactly the chosen names go; what a split or lossy decoding makes stays.
    void everyNameArrivesExactly()
    {
        writeFile(Settings(), "[Config]\nFirstStartEver=False\nShredNow=True\nNumOverwrite=1\n");
        QTemporaryDir work;
        const QByteArray folder = QFile::encodeName(work.path());
        const QList<QByteArray> chosen = {folder + "/a;b", folder + "/with space", folder + "/\"quoted\"",
                                          folder + "/new\nline", folder + "/caf\xE9"};
        QList<QByteArray> bystanders;
        for (const char* name : {"/a", "/b", "/with", "/space", "/quoted", "/caf\xEF\xBF\xBD"})
            bystanders << folder + name;
        for (const QByteArray& name : chosen + bystanders)
            QCOMPARE(::close(::open(name.constData(), O_CREAT | O_WRONLY, 0600)), 0);
        QCOMPARE(HelperRun(chosen).exitCode(), 0);
        for (const QByteArray& name : chosen)
            QTRY_VERIFY2_WITH_TIMEOUT(!Exists(name), name.constData(), 20000);
        for (const QByteArray& name : bystanders)
            QVERIFY2(Exists(name), name.constData());
        QProcess::execute(u"rm"_s, {u"-rf"_s, work.path()});
    }
};

VANISTO_TEST_GUILESS_MAIN(TestShellMenu)
#include "tst_shellmenu.moc"
