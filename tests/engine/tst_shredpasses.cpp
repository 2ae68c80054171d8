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
