#include "TestEnvironment.h"
#include "engine/BlockWriter.h"
#include "engine/ShredPasses.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

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

    // The pattern lies over the file from its start whatever the run's offset and length: over
    // a megabyte and more in one call, from the middle of a block, and past the vectors one call
    // takes.
    void writeBlocksLaysThePatternOverTheFile()
    {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("f")));
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        QByteArray block(8192, Qt::Uninitialized);
        for (int i = 0; i < block.size(); ++i)
            block[i] = char('A' + i % 26 + i / 4096);
        BlockWriter writer;
        const qint64 runs[][2] = {{0, 300 * 8192 + 100}, {5000, 12000}, {300 * 8192 + 100, 8092}};
        for (const auto& [offset, length] : runs) {
            qint64 written = -1;
            QCOMPARE(writer.writeBlocks(fd, block, length, offset, &written), 0);
            QCOMPARE(written, length);
            QCOMPARE(writer.settle(fd), 0);
        }
        QCOMPARE(writer.syncPattern(fd), 0);
        QByteArray onDisk(301 * 8192, Qt::Uninitialized);
        QCOMPARE(::pread(fd, onDisk.data(), onDisk.size(), 0), onDisk.size());
        ::close(fd);
        for (qint64 x = 0; x < onDisk.size(); x += 997)
            QVERIFY2(onDisk[x] == block[x % block.size()], qPrintable(QString::number(x)));
        QCOMPARE(onDisk.right(8192), block);
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
