#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/FileDescriptor.h"
#include "platform/PathBytes.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr uid_t Nobody = 65534;

struct Result
{
    int exitCode;
    QString out;
};

// Runs vanisto-shred, as the unprivileged user "nobody" when asked (root passes every
// permission check, so only another user meets the folders and modes it must cope with).
Result run(const QStringList& arguments, const QString& asNobodyHome = QString())
{
    QProcess process;
    QString program = TestEnvironment::binDir() + QStringLiteral("/vanisto-shred");
    QStringList args = arguments;
    if (!asNobodyHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"})
            env.insert(QLatin1String(name), asNobodyHome);
        process.setProcessEnvironment(env);
        args = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), program} +
               arguments;
        program = QStringLiteral("setpriv");
    }
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return {-1, QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput())};
}
} // namespace

class TestVanistoShred : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0;
        QTest::newRow("no path") << QStringList{} << 2;
        QTest::newRow("unknown method")
            << QStringList{QStringLiteral("--method"), QStringLiteral("fast"), QStringLiteral("x")} << 2;
        QTest::newRow("zero wipes") << QStringList{QStringLiteral("--wipes"), QStringLiteral("0"),
                                                   QStringLiteral("x")}
                                    << 2;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const Result result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0)
            QVERIFY(result.out.startsWith(QStringLiteral("Usage: vanisto-shred")));
    }

    void destroysFilesAndFolders()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("tree/sub"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("tree/sub/x")), QByteArray(20000, 'x')));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("file")), "y"));
        const Result result =
            run({QStringLiteral("--method"), QStringLiteral("enhanced"), dir.filePath(QStringLiteral("tree")),
                 dir.filePath(QStringLiteral("file"))});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList());
    }

    // Items as the shell hands them over: a name that is not UTF-8 and a path longer than the
    // system's limit are shredded; a file with a name outside the run keeps its content, and the
    // exit status says so.
    void itemsOfEveryShape()
    {
        QTemporaryDir dir;
        const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xE9.txt";
        QVERIFY(writeFile(dir.filePath(QStringLiteral("caf\uFFFD.txt")), "look-alike"));
        FileDescriptor created(::open(latin1.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
        QVERIFY(created.isValid());
        created.reset();
        const QString deep = TestFiles::makeDeepFolder(dir.path());
        QVERIFY(deep.size() > 4096);
        // QProcess hands arguments over as text; the shell writes the Latin-1 byte itself.
        QProcess shell;
        shell.start(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("cd \"$1\" && exec \"$2\" \"$(printf 'caf\\351.txt')\""),
             QStringLiteral("sh"), dir.path(), TestEnvironment::binDir() + QStringLiteral("/vanisto-shred")});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.readAllStandardOutput(), QByteArray());
        QCOMPARE(shell.exitCode(), 0);
        const Result shredded =
            run({deep + QStringLiteral("/last"), dir.filePath(QString(240, QLatin1Char('d')))});
        QCOMPARE(shredded.out, QString());
        QCOMPARE(shredded.exitCode, 0);
        QVERIFY(!exists(PathBytes::decode(latin1)) && !exists(deep + QStringLiteral("/last")));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("caf\uFFFD.txt"))), QByteArray("look-alike"));

        const QString kept = dir.filePath(QStringLiteral("kept"));
        QVERIFY(writeFile(kept, "content"));
        QCOMPARE(::link(QFile::encodeName(kept).constData(),
                        QFile::encodeName(kept + QStringLiteral("2")).constData()),
                 0);
        const Result linked = run({kept});
        QCOMPARE(linked.exitCode, 1);
        QVERIFY2(linked.out.startsWith(QStringLiteral("kept: ") + kept), qPrintable(linked.out));
        QCOMPARE(readFile(kept + QStringLiteral("2")), QByteArray("content"));
    }

    void refusesWithOneLineEach()
    {
        QTemporaryDir dir;
        // A file of our own where the operating system keeps its files (/var).
        QTemporaryDir systemPlace(QStringLiteral("/var/lib/vanisto-test-XXXXXX"));
        const QString system = systemPlace.filePath(QStringLiteral("system"));
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QVERIFY(writeFile(system, "keep"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const Result result = run({system, fifo, dir.filePath(QStringLiteral("missing"))});
        QCOMPARE(result.exitCode, 1);
        // One line each, with its reason in words.
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0),
                 QStringLiteral("refused: ") + system + QStringLiteral(": inside the system's own folders"));
        QCOMPARE(lines.at(1), QStringLiteral("refused: ") + fifo + QStringLiteral(": a FIFO"));
        QVERIFY(QFileInfo::exists(system) && QFileInfo::exists(fifo));
    }

    void unprivilegedUser()
    {
        if (::geteuid() != 0)
            QFAIL("this test runs as root, to act as another user");
        QTemporaryDir dir;
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString open = dir.filePath(QStringLiteral("open"));
        const QString readOnly = dir.filePath(QStringLiteral("read-only"));
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(open) && QDir().mkpath(readOnly));
        const QString noAccess = open + QStringLiteral("/no-access");
        const QString stuck = readOnly + QStringLiteral("/stuck");
        QVERIFY(writeFile(noAccess, "secret") && writeFile(stuck, "secret"));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        for (const QString& path : {home, open, readOnly, noAccess, stuck})
            QCOMPARE(::chown(QFile::encodeName(path).constData(), Nobody, Nobody), 0);
        ::chmod(QFile::encodeName(noAccess).constData(), 0);
        ::chmod(QFile::encodeName(readOnly).constData(), 0555);

        const Result shredded = run({noAccess}, home);
        QCOMPARE(shredded.exitCode, 0);
        QVERIFY(!QFileInfo::exists(noAccess));

        // Overwritten, but never removable by this user: said so, not queued for a next start
        // that could only fail again.
        const Result failed = run({QStringLiteral("--wipes"), QStringLiteral("1"), stuck}, home);
        QCOMPARE(failed.exitCode, 1);
        QVERIFY2(failed.out.startsWith(QStringLiteral("failed: ") + stuck), qPrintable(failed.out));
        QFile left(stuck);
        QVERIFY(left.open(QIODevice::ReadOnly));
        const QByteArray content = left.readAll();
        QVERIFY(content != "secret" && content == QByteArray(6, content.at(0)));
        QVERIFY(!readFile(home + QStringLiteral("/Vanisto/pending-deletions"))
                     .contains(QFile::encodeName(stuck)));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestVanistoShred)
#include "tst_vanistoshred.moc"
