#include "TestEnvironment.h"
#include "shredlist/CountCaptions.h"
#include "shredlist/IconKey.h"
#include "shredlist/PathTable.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
        QTest::newRow("text file") << "/tmp/a.txt" << u"TXT"_s;
        QTest::newRow("mixed case") << "/tmp/Photo.JpEg" << u"JPEG"_s;
        QTest::newRow("last dot counts") << "/tmp/x.tar.gz" << u"GZ"_s;
        QTest::newRow("hidden file") << "/home/u/.bashrc" << u"BASHRC"_s;
        QTest::newRow("dot in a folder name") << "/tmp/v1.0/readme" << u"0/README"_s;
        QTest::newRow("no dot") << "/tmp/readme" << QString();
        for (const char* type : {"Setup.exe", "a.ico", "a.Dll", "a.ocx", "a.lnk"})
            QTest::newRow(type) << u"/tmp/"_s + QLatin1String(type)
                                << u"/TMP/"_s + QString::fromLatin1(type).toUpper();
    }

    void iconKey()
    {
        QFETCH(QString, path);
        QTEST(IconKey(path, false), "key");
        QCOMPARE(IconKey(path, true), u"DIR"_s);
    }

    void countCaptions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("captions");
        const QString cannot = u"\r\nShredded items cannot be recovered.|Shred :"_s;
        QTest::newRow("none") << 0 << u"0 items|No items selected|Shred :0 items"_s;
        QTest::newRow("one") << 1
                             << u"1 item|Are you sure you want to shred this item?"_s + cannot +
                                    QLatin1String("1 item");
        QTest::newRow("two") << 2
                             << u"2 items|Are you sure you want to shred these 2 Items?"_s + cannot +
                                    QLatin1String("2 items");
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
        QVERIFY(!table.Append(u"one more"_s));
        QCOMPARE(table.ItemCount(), qint16(32767));
        QVERIFY(!table.CheckDup(u"one more"_s));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestShredListRules)
#include "tst_shredlistrules.moc"
