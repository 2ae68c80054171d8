#include "EngineTestKit.h"

static struct stat statOf(const QString& path)
{
    struct stat info = {};
    ::lstat(PathBytes::encode(path).constData(), &info);
    return info;
}

static bool queue(const QString& path)
{
    return DeleteAfterReboot(path, statOf(path));
}

class TestPendingDeletions : public QObject, EngineRig
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(resetEngine(true)); }

    void namesKeptExactly_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("queued");
        QTest::newRow("plain") << QByteArray("a b.txt") << true;
        QTest::newRow("percent") << QByteArray("100%25 sure%") << true;
        QTest::newRow("tab and colon") << QByteArray("tab\there:1:2") << false;
        QTest::newRow("non-ASCII") << u"ünïcødé ✓"_s.toUtf8() << true;
        QTest::newRow("Latin-1") << QByteArray("caf\xE9") << true;
        QTest::newRow("newline") << QByteArray("two\nlines") << false;
    }
    void namesKeptExactly()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, queued);
        const QString file = PathBytes::decode(PathBytes::encode(m_dir->path()) + '/' + name);
        QVERIFY(writeFile(file, "x"));
        QCOMPARE(queue(file), queued);
        queue(file);
        // A name with a control character is not queued: the next start could not tell it.
        QCOMPARE(PendingDeletions::load(), queued ? QStringList{file} : QStringList());
    }

    // A file saved under a queued name since, an entry cut by a NUL, one without identity: all kept.
    void onlyTheQueuedFileIsShredded()
    {
        const QString replaced = path(u"replaced"_s);
        QVERIFY(writeFile(replaced, "old"));
        QVERIFY(queue(replaced));
        QVERIFY(QFile::remove(replaced) && writeFile(replaced, "new document"));
        const QString shorter = path(u"short"_s);
        QVERIFY(writeFile(shorter, "keep"));
        const struct stat info = statOf(shorter);
        QFile raw(PendingDeletions::queueFile());
        QVERIFY(raw.open(QIODevice::Append));
        raw.write(PathBytes::encode(shorter) + "%00er\t" + QByteArray::number(quint64(info.st_dev)) + ':' +
                  QByteArray::number(quint64(info.st_ino)) + ':' + QByteArray::number(qint64(info.st_size)) +
                  ":0\n");
        raw.write(PathBytes::encode(shorter) + "\n");
        raw.close();

        ProcessPendingDeletions(*m_engine);

        QCOMPARE(readFile(replaced), QByteArray("new document"));
        QCOMPARE(readFile(shorter), QByteArray("keep"));
        QCOMPARE(m_writer.count, 0);
        QVERIFY(PendingDeletions::load().isEmpty());
        QVERIFY(readFile(TestEnvironment::stateHome() + u"/Vanisto/errlog.dat"_s)
                    .contains("another file has this name now"));
    }

    void workedThroughAtStart()
    {
        const QString shredded = path(u"queued file"_s);
        const QString target = path(u"target"_s);
        const QString nowALink = path(u"now a link"_s);
        const QString behindLink = path(u"folder-link/inside"_s);
        const QString vanished = path(u"vanished"_s);
        QVERIFY(writeFile(shredded, "old") && writeFile(target, "keep") && writeFile(nowALink, "x") &&
                writeFile(vanished, "x"));
        QVERIFY(QDir().mkpath(path(u"folder"_s)));
        QVERIFY(writeFile(path(u"folder/inside"_s), "keep"));
        QVERIFY(QFile::link(path(u"folder"_s), path(u"folder-link"_s)));
        // A file of our own in /var, so that a broken refusal costs nothing but this test.
        QTemporaryDir systemPlace(u"/var/lib/vanisto-test-XXXXXX"_s);
        const QString system = systemPlace.filePath(u"queued"_s);
        QVERIFY(writeFile(system, "keep"));
        for (const QString& file : {shredded, nowALink, behindLink, vanished, system})
            QVERIFY(queue(file));
        QVERIFY(QFile::remove(nowALink) && QFile::link(target, nowALink) && QFile::remove(vanished));

        m_writer.failWith = EIO;
        ProcessPendingDeletions(*m_engine);
        QCOMPARE(PendingDeletions::load(), QStringList{shredded});
        QVERIFY(QFileInfo::exists(shredded));

        m_writer.failWith = 0;
        ProcessPendingDeletions(*m_engine);
        QVERIFY(PendingDeletions::load().isEmpty());
        QVERIFY(!QFileInfo::exists(shredded));
        QCOMPARE(m_writer.count, 2);
        QVERIFY(QFileInfo(nowALink).isSymLink());
        for (const QString& kept : {target, path(u"folder/inside"_s), system})
            QCOMPARE(readFile(kept), QByteArray("keep"));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestPendingDeletions)
#include "tst_pendingdeletions.moc"
