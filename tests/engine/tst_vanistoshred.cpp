#include "TestFiles.h"

class TestVanistoShred : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help") << QStringList{u"--help"_s} << 0;
        QTest::newRow("no path") << QStringList{} << 2;
        QTest::newRow("unknown method") << QStringList{u"--method"_s, u"fast"_s, u"x"_s} << 2;
        QTest::newRow("zero wipes") << QStringList{u"--wipes"_s, u"0"_s, u"x"_s} << 2;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const ToolResult result = runTool(arguments);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0)
            QVERIFY(result.out.startsWith(u"Usage: vanisto-shred"_s));
    }

    // Names not UTF-8, paths past the limit and folders go; a file linked from outside is kept, a system
    // file and a FIFO refused: one line each, with its reason in words. Another user's run likewise.
    void itemsOfEveryShape()
    {
        QTemporaryDir dir;
        const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xE9.txt";
        QVERIFY(writeFile(dir.filePath(u"caf\uFFFD.txt"_s), "look-alike"));
        QCOMPARE(::close(::open(latin1.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600)), 0);
        const QString deep = TestFiles::makeDeepFolder(dir.path());
        QVERIFY(deep.size() > 4096);
        // QProcess hands arguments over as text; the shell writes the Latin-1 byte itself.
        QProcess shell;
        shell.start(u"sh"_s, {u"-c"_s, u"cd \"$1\" && exec \"$2\" \"$(printf 'caf\\351.txt')\""_s, u"sh"_s,
                              dir.path(), TestEnvironment::binDir() + u"/vanisto-shred"_s});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.readAllStandardOutput(), QByteArray());
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY(writeFile(dir.filePath(u"big"_s), QByteArray(20000, 'x')));
        const ToolResult shredded =
            runTool({u"--method"_s, u"enhanced"_s, deep + u"/last"_s,
                     dir.filePath(QString(240, QLatin1Char('d'))), dir.filePath(u"big"_s)});
        QCOMPARE(shredded.out, QString());
        QCOMPARE(shredded.exitCode, 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{u"caf\uFFFD.txt"_s});
        QCOMPARE(readFile(dir.filePath(u"caf\uFFFD.txt"_s)), QByteArray("look-alike"));

        const QString kept = dir.filePath(u"kept"_s);
        QVERIFY(writeFile(kept, "content"));
        QCOMPARE(::link(QFile::encodeName(kept).constData(), QFile::encodeName(kept + u"2"_s).constData()),
                 0);
        // A file of our own where the operating system keeps its files (/var).
        QTemporaryDir systemPlace(u"/var/lib/vanisto-test-XXXXXX"_s);
        const QString system = systemPlace.filePath(u"system"_s);
        const QString fifo = dir.filePath(u"fifo"_s);
        QVERIFY(writeFile(system, "keep"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const ToolResult result = runTool({system, fifo, dir.filePath(u"missing"_s), kept});
        QCOMPARE(result.exitCode, 1);
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), u"refused: "_s + system + u": inside the system's own folders"_s);
        QCOMPARE(lines.at(1), u"refused: "_s + fifo + u": a FIFO"_s);
        QVERIFY2(lines.at(3).startsWith(u"kept: "_s + kept), qPrintable(result.out));
        QCOMPARE(readFile(kept + u"2"_s), QByteArray("content"));
        QVERIFY(QFileInfo::exists(system) && QFileInfo::exists(fifo));

        // As another user, with a home of its own.
        QVERIFY2(::geteuid() == 0, "this test runs as root, to act as another user");
        const QString home = dir.filePath(u"home"_s);
        const QString noAccess = dir.filePath(u"open/no-access"_s);
        const QString stuck = dir.filePath(u"read-only/stuck"_s);
        QVERIFY(QDir().mkpath(home) &&
                TestFiles::writeTree(dir.path(), {u"open/no-access"_s, u"read-only/stuck"_s}, "secret"));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        QVERIFY(TestFiles::giveToNobody({home, dir.filePath(u"open"_s), dir.filePath(u"read-only"_s)}));
        ::chmod(QFile::encodeName(noAccess).constData(), 0);
        ::chmod(QFile::encodeName(dir.filePath(u"read-only"_s)).constData(), 0555);

        const ToolResult byNobody = runTool({noAccess}, home);
        QCOMPARE(byNobody.exitCode, 0);
        QVERIFY(!QFileInfo::exists(noAccess));

        // Overwritten but never removable by this user: said so, not queued for a start that would fail.
        const ToolResult failed = runTool({u"--wipes"_s, u"1"_s, stuck}, home);
        QCOMPARE(failed.exitCode, 1);
        QVERIFY2(failed.out.startsWith(u"failed: "_s + stuck), qPrintable(failed.out));
        const QByteArray content = readFile(stuck);
        QVERIFY(content.size() == 6 && content != "secret" && content == QByteArray(6, content.at(0)));
        QVERIFY(!readFile(home + u"/Vanisto/pending-deletions"_s).contains(QFile::encodeName(stuck)));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestVanistoShred)
#include "tst_vanistoshred.moc"
