#include "TestEnvironment.h"
#include "common/SmartSplit.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QTest>

class TestSmartSplit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void smartSplit_data();
    void smartSplit();
    void keepsAtMostAHundredTokensAndLogsTheRest();
    void splitString_data();
    void splitString();
};

void TestSmartSplit::smartSplit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QStringList>("tokens");

    const QString space = QStringLiteral(" ");
    const QString semicolon = QStringLiteral(";");
    QTest::newRow("quoted path with a space, then a plain one")
        << QStringLiteral("\"/home/a/My Files\" /tmp/b") << space
        << QStringList{QStringLiteral("/home/a/My Files"), QStringLiteral("/tmp/b")};
    QTest::newRow("runs of delimiters give no empty tokens")
        << QStringLiteral("a   b") << space << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("leading delimiters are skipped")
        << QStringLiteral("  a") << space << QStringList{QStringLiteral("a")};
    QTest::newRow("trailing delimiter gives no empty token")
        << QStringLiteral("a b ") << space << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("stored folder list with its trailing semicolon")
        << QStringLiteral("/home/u/Keep;/srv/data files;") << semicolon
        << QStringList{QStringLiteral("/home/u/Keep"), QStringLiteral("/srv/data files")};
    QTest::newRow("empty text gives one empty token") << QString() << space << QStringList{QString()};
    QTest::newRow("only delimiters gives one empty token")
        << QStringLiteral(";;;") << semicolon << QStringList{QString()};
    QTest::newRow("only the delimiter's first character counts")
        << QStringLiteral("a;b c") << QStringLiteral(";x")
        << QStringList{QStringLiteral("a"), QStringLiteral("b c")};
    QTest::newRow("empty delimiter means a space")
        << QStringLiteral("a b") << QString() << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("quotes in the middle of a token group and vanish")
        << QStringLiteral("/tmp/\"a b\"/c d") << space
        << QStringList{QStringLiteral("/tmp/a b/c"), QStringLiteral("d")};
    QTest::newRow("an unclosed quote swallows the rest")
        << QStringLiteral("\"a b c") << space << QStringList{QStringLiteral("a b c")};
    QTest::newRow("blank entry between semicolons does not advance")
        << QStringLiteral("a; ;b") << semicolon << QStringList{QStringLiteral("a"), QStringLiteral(" b")};
}

void TestSmartSplit::smartSplit()
{
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(QStringList, tokens);
    QCOMPARE(SmartSplit(text, delimiter), tokens);
}

void TestSmartSplit::keepsAtMostAHundredTokensAndLogsTheRest()
{
    const QString log = AppFolder::file(QStringLiteral("errlog.dat"));
    QFile::remove(log);

    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred << QStringLiteral("t%1").arg(i);
    // Exactly a hundred, even with a trailing delimiter, is no overflow.
    QCOMPARE(SmartSplit(hundred.join(QLatin1Char(' ')) + QLatin1Char(' ')), hundred);
    QVERIFY(!QFile::exists(log));

    const QStringList tokens = SmartSplit(hundred.join(QLatin1Char(' ')) + QStringLiteral(" extra1 extra2"));
    QCOMPARE(tokens, hundred);
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.count('\n'), 1);
    QVERIFY(written.contains("modGeneral:SmartSplit Err Number = 9"));
}

void TestSmartSplit::splitString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("two paths") << QStringLiteral("/a b;/c")
                               << QStringList{QStringLiteral("/a b"), QStringLiteral("/c")};
    QTest::newRow("trailing semicolon keeps an empty piece")
        << QStringLiteral("/a;") << QStringList{QStringLiteral("/a"), QString()};
    QTest::newRow("quotes are not special")
        << QStringLiteral("\"/a;b\"") << QStringList{QStringLiteral("\"/a"), QStringLiteral("b\"")};
    QTest::newRow("empty text") << QString() << QStringList{};
}

void TestSmartSplit::splitString()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitString(text), pieces);
}

VANISTO_TEST_GUILESS_MAIN(TestSmartSplit)
#include "tst_smartsplit.moc"
