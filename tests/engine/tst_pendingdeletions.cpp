#include "FakeShredWindow.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "common/SharedState.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPendingDeletions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(PendingDeletions::save({})); }

    void linesKeepEveryName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/tmp/a b/c.txt";
        QTest::newRow("newline and return") << "/tmp/two\nlines\r";
        QTest::newRow("percent") << "/tmp/100%25 sure%";
        QTest::newRow("non-ASCII") << QStringLiteral("/tmp/ünïcødé ✓");
    }
    void linesKeepEveryName()
    {
        QFETCH(QString, path);
        const QByteArray line = PendingDeletions::encodeLine(path);
        QVERIFY(!line.contains('\n') && !line.contains('\r'));
        QCOMPARE(PendingDeletions::decodeLine(line), path);
        DeleteAfterReboot(path);
        DeleteAfterReboot(path);
        QCOMPARE(PendingDeletions::load(), QStringList{path});
    }

    void workedThroughAtStart()
    {
        QTemporaryDir dir;
        const QString shredded = dir.filePath(QStringLiteral("queued file"));
        const QString target = dir.filePath(QStringLiteral("target"));
        const QString nowALink = dir.filePath(QStringLiteral("now a link"));
        const QString behindLink = dir.filePath(QStringLiteral("folder-link/inside"));
        QVERIFY(writeFile(shredded, "old") && writeFile(target, "keep"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("folder"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("folder/inside")), "keep"));
        QVERIFY(QFile::link(target, nowALink));
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("folder")), dir.filePath(QStringLiteral("folder-link"))));
        const QString vanished = dir.filePath(QStringLiteral("vanished"));
        // A file of our own in a place the operating system keeps for itself (/var), so that a
        // broken refusal costs nothing but this test.
        QTemporaryDir systemPlace(QStringLiteral("/var/lib/vanisto-test-XXXXXX"));
        const QString system = systemPlace.filePath(QStringLiteral("queued"));
        QVERIFY(writeFile(system, "keep"));
        for (const QString& path : {shredded, nowALink, behindLink, vanished, system})
            DeleteAfterReboot(path);

        FakeShredWindow window;
        RecordingWriter writer;
        ShredEngine engine(window);
        engine.setBlockWriter(&writer);
        Shared().FastShred = 1;
        Shared().NumOverwrite = 1;
        writer.failWith = EIO;
        ProcessPendingDeletions(engine);
        QCOMPARE(PendingDeletions::load(), QStringList{shredded});
        QVERIFY(QFileInfo::exists(shredded));

        writer.failWith = 0;
        ProcessPendingDeletions(engine);
        QVERIFY(PendingDeletions::load().isEmpty());
        QVERIFY(!QFileInfo::exists(shredded));
        QCOMPARE(writer.count, 2);
        QVERIFY(QFileInfo(nowALink).isSymLink());
        for (const QString& kept : {target, dir.filePath(QStringLiteral("folder/inside")), system}) {
            QFile file(kept);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("keep"));
        }
    }
};

VANISTO_TEST_GUILESS_MAIN(TestPendingDeletions)
#include "tst_pendingdeletions.moc"
