#include "TestEnvironment.h"
#include "shredlist/CountCaptions.h"
#include "shredlist/IconKey.h"
#include "shredlist/PathTable.h"

#include <QTest>

// The Shred List's rules that need no window: icon keys, captions, scrolling and the
// path table.
class TestShredListRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("key");
        QTest::newRow("text file") << "/tmp/a.txt" << false << "TXT";
        QTest::newRow("mixed case") << "/tmp/Photo.JpEg" << false << "JPEG";
        QTest::newRow("last dot counts") << "/tmp/x.tar.gz" << false << "GZ";
        QTest::newRow("hidden file") << "/home/u/.bashrc" << false << "BASHRC";
        QTest::newRow("dot in a folder name") << "/tmp/v1.0/readme" << false << "0/README";
        QTest::newRow("no dot") << "/tmp/readme" << false << "";
        QTest::newRow("program") << "/tmp/Setup.exe" << false << "/TMP/SETUP.EXE";
        QTest::newRow("icon") << "/tmp/a.ico" << false << "/TMP/A.ICO";
        QTest::newRow("library") << "/tmp/a.Dll" << false << "/TMP/A.DLL";
        QTest::newRow("control") << "/tmp/a.ocx" << false << "/TMP/A.OCX";
        QTest::newRow("link") << "/tmp/a.lnk" << false << "/TMP/A.LNK";
        QTest::newRow("folder") << "/tmp/photos.exe" << true << "DIR";
    }

    void iconKey()
    {
        QFETCH(QString, path);
        QFETCH(bool, folder);
        QFETCH(QString, key);
        QCOMPARE(IconKey(path, folder), key);
    }

    void countCaptions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("shred");
        QTest::newRow("none") << 0 << "0 items"
                              << "No items selected"
                              << "Shred :0 items";
        QTest::newRow("one")
            << 1 << "1 item"
            << "Are you sure you want to shred this item?\r\nShredded items cannot be recovered."
            << "Shred :1 item";
        QTest::newRow("two")
            << 2 << "2 items"
            << "Are you sure you want to shred these 2 Items?\r\nShredded items cannot be recovered."
            << "Shred :2 items";
        QTest::newRow("many")
            << 1234 << "1234 items"
            << "Are you sure you want to shred these 1234 Items?\r\nShredded items cannot be "
               "recovered."
            << "Shred :1234 items";
    }

    void countCaptions()
    {
        QFETCH(int, count);
        QFETCH(QString, label1);
        QFETCH(QString, prompt);
        QFETCH(QString, shred);
        QCOMPARE(CountCaptionsFor(count), (CountCaptions{label1, prompt, shred}));
    }

    void pathTableTracksAddsRebuildsAndClears()
    {
        PathTable table;
        QCOMPARE(table.ItemCount(), qint16(0));
        QCOMPARE(table.FileArray(), QStringList{QString()});
        QVERIFY(table.Append(QStringLiteral("/a")));
        QVERIFY(table.Append(QStringLiteral("/b")));
        QVERIFY(table.CheckDup(QStringLiteral("/a")));
        QVERIFY(!table.CheckDup(QStringLiteral("/A")));
        QVERIFY(!table.CheckDup(QString()));
        QCOMPARE(table.FileArray(), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));

        table.Rebuild({QStringLiteral("/b")});
        QCOMPARE(table.ItemCount(), qint16(1));
        QCOMPARE(table.FileArray(), (QStringList{QStringLiteral("/b"), QString()}));
        QVERIFY(!table.CheckDup(QStringLiteral("/a")));
        // The spare slot is filled by the next path.
        QVERIFY(table.Append(QStringLiteral("/c")));
        QCOMPARE(table.FileArray(), (QStringList{QStringLiteral("/b"), QStringLiteral("/c")}));

        table.Clear();
        QCOMPARE(table.ItemCount(), qint16(0));
        QCOMPARE(table.FileArray(), QStringList{QString()});
        QVERIFY(!table.CheckDup(QStringLiteral("/b")));
    }

    void pathTableRefusesTheItemThatWouldOverflow()
    {
        PathTable table;
        for (int i = 0; i < PathTable::MaxItems; ++i)
            QVERIFY(table.Append(QString::number(i)));
        QCOMPARE(table.ItemCount(), qint16(32767));
        QVERIFY(!table.Append(QStringLiteral("one more")));
        QCOMPARE(table.ItemCount(), qint16(32767));
        QVERIFY(!table.CheckDup(QStringLiteral("one more")));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestShredListRules)
#include "tst_shredlistrules.moc"
