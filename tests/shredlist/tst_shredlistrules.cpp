#include "TestEnvironment.h"
#include "shredlist/CountCaptions.h"
#include "shredlist/IconKey.h"
#include "shredlist/PathTable.h"

#include <QTest>

// The Shred List's rules that need no window: icon keys, captions and the path table's limit.
class TestShredListRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Programs, icons, libraries, controls and links have pictures of their own: their key is the
    // whole path.
    void iconKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::newRow("text file") << "/tmp/a.txt" << QStringLiteral("TXT");
        QTest::newRow("mixed case") << "/tmp/Photo.JpEg" << QStringLiteral("JPEG");
        QTest::newRow("last dot counts") << "/tmp/x.tar.gz" << QStringLiteral("GZ");
        QTest::newRow("hidden file") << "/home/u/.bashrc" << QStringLiteral("BASHRC");
        QTest::newRow("dot in a folder name") << "/tmp/v1.0/readme" << QStringLiteral("0/README");
        QTest::newRow("no dot") << "/tmp/readme" << QString();
        for (const char* type : {"Setup.exe", "a.ico", "a.Dll", "a.ocx", "a.lnk"})
            QTest::newRow(type) << QStringLiteral("/tmp/") + QLatin1String(type)
                                << QStringLiteral("/TMP/") + QString::fromLatin1(type).toUpper();
    }

    void iconKey()
    {
        QFETCH(QString, path);
        QTEST(IconKey(path, false), "key");
        QCOMPARE(IconKey(path, true), QStringLiteral("DIR"));
    }

    void countCaptions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("captions");
        const QString cannot = QStringLiteral("\r\nShredded items cannot be recovered.|Shred :");
        QTest::newRow("none") << 0 << QStringLiteral("0 items|No items selected|Shred :0 items");
        QTest::newRow("one") << 1
                             << QStringLiteral("1 item|Are you sure you want to shred this item?") + cannot +
                                    QLatin1String("1 item");
        QTest::newRow("two") << 2
                             << QStringLiteral("2 items|Are you sure you want to shred these 2 Items?") +
                                    cannot + QLatin1String("2 items");
    }

    void countCaptions()
    {
        QFETCH(int, count);
        const CountCaptions captions = CountCaptionsFor(count);
        QTEST(QStringList({captions.Label1, captions.lblPrompt, captions.lblshred}).join(u'|'), "captions");
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
