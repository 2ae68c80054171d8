#include "TestEnvironment.h"
#include "engine/ShredPasses.h"

#include <QtTest>

class TestShredPasses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blockLayout_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<qint64>("lastBlock");
        QTest::newRow("empty") << qint64(0) << 0 << qint64(0);
        QTest::newRow("40 bytes") << qint64(40) << 40 << qint64(0);
        QTest::newRow("one block") << qint64(8192) << 8192 << qint64(0);
        QTest::newRow("one byte over") << qint64(8193) << 8192 << qint64(1);
        QTest::newRow("10,000") << qint64(10000) << 8192 << qint64(1);
        QTest::newRow("1.5 blocks, half up to even") << qint64(12288) << 8192 << qint64(2);
        QTest::newRow("2 blocks") << qint64(16384) << 8192 << qint64(2);
        QTest::newRow("2.5 blocks, half down to even") << qint64(20480) << 8192 << qint64(2);
        QTest::newRow("over 4 GiB") << (qint64(1) << 32) + 5000 << 8192 << qint64(524289);
    }
    void blockLayout()
    {
        QFETCH(qint64, length);
        QFETCH(int, blockSize);
        QFETCH(qint64, lastBlock);
        const BlockLayout layout = ShredPasses::blockLayout(length);
        QCOMPARE(layout.BlockSize, blockSize);
        QCOMPARE(layout.lastBlock, lastBlock);
        QVERIFY(layout.blockCount() * layout.BlockSize >= length);
    }

    void alternatingPatternLength_data()
    {
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<int>("length");
        QTest::newRow("4 rounds to 0") << 4 << 0;
        QTest::newRow("12 grows to 16") << 12 << 16;
        QTest::newRow("20 shrinks to 16") << 20 << 16;
        QTest::newRow("40 stays") << 40 << 40;
        QTest::newRow("full block") << 8192 << 8192;
    }
    void alternatingPatternLength()
    {
        QFETCH(int, blockSize);
        QFETCH(int, length);
        const QByteArray oneZero = ShredPasses::fixedPattern(Pattern::OneZero, blockSize);
        QCOMPARE(oneZero.size(), length);
        QVERIFY(oneZero.startsWith(length ? "10101010" : ""));
        QCOMPARE(ShredPasses::fixedPattern(Pattern::ZeroOne, blockSize),
                 QByteArray("01010101").repeated(length / 8));
        QCOMPARE(ShredPasses::fixedPattern(Pattern::Ones, blockSize), QByteArray(blockSize, '1'));
    }

    void wipes_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("wipes");
        QTest::addColumn<int>("effective");
        QTest::addColumn<int>("patterns");
        QTest::newRow("normal keeps 0") << 1 << 0 << 0 << 1;
        QTest::newRow("normal keeps 3") << 1 << 3 << 3 << 1;
        QTest::newRow("enhanced raises 3") << 2 << 3 << 8 << 3;
        QTest::newRow("ultra raises 1") << 3 << 1 << 8 << 5;
        QTest::newRow("ultra keeps 12") << 3 << 12 << 12 << 5;
        QTest::newRow("unknown method shreds as normal") << 7 << 2 << 2 << 1;
    }
    void wipes()
    {
        QFETCH(int, method);
        QFETCH(int, wipes);
        QFETCH(int, effective);
        QFETCH(int, patterns);
        QCOMPARE(ShredPasses::effectiveWipes(method, wipes), effective);
        QCOMPARE(ShredPasses::patterns(method).size(), patterns);
    }

    void prompt()
    {
        const QString thirty(30, QLatin1Char('n'));
        QCOMPARE(ShredPasses::shreddingPrompt(thirty),
                 QStringLiteral("Press Cancel to stop shredding\r\nSHREDDING: ") + thirty);
        QCOMPARE(ShredPasses::nameShown(thirty + QLatin1Char('x')), thirty + QStringLiteral("..."));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestShredPasses)
#include "tst_shredpasses.moc"
