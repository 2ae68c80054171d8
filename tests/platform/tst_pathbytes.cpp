#include "TestEnvironment.h"
#include "platform/PathBytes.h"

#include <QTest>

class TestPathBytes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bytesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readable");
        QTest::newRow("ASCII") << QByteArray("/tmp/a b.txt") << QStringLiteral("/tmp/a b.txt");
        QTest::newRow("UTF-8") << QByteArray("na\xC3\xAFve") << QStringLiteral("naïve");
        QTest::newRow("Latin-1") << QByteArray("caf\xE9.txt") << QStringLiteral("caf\uFFFD.txt");
        QTest::newRow("cut sequence") << QByteArray("a\xC3") << QStringLiteral("a\uFFFD");
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QStringLiteral("\uFFFD\uFFFD");
        QTest::newRow("encoded surrogate")
            << QByteArray("\xED\xB2\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        // U+10080 is the pair D800 DC80, whose second half looks like the escaped byte 0x80.
        QTest::newRow("four-byte character")
            << QByteArray("\xF0\x90\x82\x80\x80") << QStringLiteral("\U00010080\uFFFD");
    }

    void bytesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readable);
        const QString path = PathBytes::decode(bytes);
        QCOMPARE(PathBytes::encode(path), bytes);
        QCOMPARE(PathBytes::decode(PathBytes::encode(path)), path);
        QCOMPARE(PathBytes::readable(path), readable);
        // One character for each byte that is not text, U+DC00 + the byte.
        QCOMPARE(path.size(), readable.size());
        QCOMPARE(path.contains(QChar(0xDCE9)), bytes.contains('\xE9'));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestPathBytes)
#include "tst_pathbytes.moc"
