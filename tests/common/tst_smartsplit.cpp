#include "TestEnvironment.h"
#include "common/SmartSplit.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// Each piece in brackets, so that no piece and one empty piece read differently.
QString Pieces(const QStringList& pieces)
{
    return pieces.isEmpty() ? QString() : u'[' + pieces.join(u"]["_s) + u']';
}

void Row(const char* name, const QStringList& got, const char* want)
{
    QTest::newRow(name) << Pieces(got) << QString::fromUtf8(want);
}
} // namespace

class TestSmartSplit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        Row("quoted path with a space", SmartSplit(u"\"/home/a/My Files\" /tmp/b"_s, u" "_s),
            "[/home/a/My Files][/tmp/b]");
        Row("runs of delimiters give no empty pieces", SmartSplit(u"  a   b "_s, u" "_s), "[a][b]");
        Row("stored folder list", SmartSplit(u"/home/u/Keep;/srv/data files;"_s, u";"_s),
            "[/home/u/Keep][/srv/data files]");
        Row("empty text gives one empty piece", SmartSplit(QString(), u" "_s), "[]");
        Row("only delimiters give one empty piece", SmartSplit(u";;;"_s, u";"_s), "[]");
        Row("only the delimiter's first character counts", SmartSplit(u"a;b c"_s, u";x"_s), "[a][b c]");
        Row("empty delimiter means a space", SmartSplit(u"a b"_s, QString()), "[a][b]");
        Row("quotes inside a piece group and vanish", SmartSplit(u"/tmp/\"a b\"/c d"_s, u" "_s),
            "[/tmp/a b/c][d]");
        Row("an unclosed quote takes the rest", SmartSplit(u"\"a b c"_s, u" "_s), "[a b c]");
        Row("a blank entry does not advance", SmartSplit(u"a; ;b"_s, u";"_s), "[a][ b]");
        Row("SplitString: two paths", SplitString(u"/a b;/c"_s), "[/a b][/c]");
        Row("SplitString keeps a last empty piece", SplitString(u"/a;"_s), "[/a][]");
        Row("SplitString: quotes are not special", SplitString(u"\"/a;b\""_s), "[\"/a][b\"]");
        Row("SplitString of nothing", SplitString(QString()), "");
    }
    void split()
    {
        QFETCH(QString, got);
        QTEST(got, "want");
    }

    // A hundred pieces, even with a trailing delimiter, is no overflow; more are dropped and logged.
    void keepsAtMostAHundredPiecesAndLogsTheRest()
    {
        const QString log = AppFolder::file(u"errlog.dat"_s);
        QStringList hundred;
        for (int i = 0; i < 100; ++i)
            hundred << QString::number(i);
        QCOMPARE(SmartSplit(hundred.join(u' ') + u' '), hundred);
        QVERIFY(!QFile::exists(log));
        QCOMPARE(SmartSplit(hundred.join(u' ') + u" extra1 extra2"_s), hundred);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.count('\n') == 1 && written.contains("modGeneral:SmartSplit Err Number = 9"));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSmartSplit)
#include "tst_smartsplit.moc"
