#include "FakeRunWindow.h"
#include "FakeShredWindow.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "common/SharedState.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"
#include "engine/modShred.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unordered_map>

using namespace Qt::StringLiterals;

// Shreds on a real ext4 image through a loop device, then reads the raw image for the files' pieces.
namespace {
constexpr int Piece = 32;

QString runCommand(const QStringList& command)
{
    QProcess process;
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return command.join(QLatin1Char(' ')) + u": "_s +
               QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput())
                   .trimmed();
    return {};
}

// How many 32-byte pieces of the originals (ext4's 4 KiB blocks keep them aligned) the image holds.
qint64 piecesFound(const QByteArray& image, const QList<QByteArray>& originals)
{
    std::unordered_multimap<quint64, const char*> index;
    for (const QByteArray& original : originals)
        for (qint64 at = 0; at + Piece <= original.size(); at += Piece)
            index.emplace(qFromUnaligned<quint64>(original.constData() + at), original.constData() + at);
    qint64 found = 0;
    for (qint64 at = 0; at + Piece <= image.size(); at += Piece) {
        const auto range = index.equal_range(qFromUnaligned<quint64>(image.constData() + at));
        for (auto it = range.first; it != range.second; ++it)
            if (std::memcmp(it->second, image.constData() + at, Piece) == 0) {
                ++found;
                break;
            }
    }
    return found;
}

// Runs vanisto-shred with one wipe on the paths; its exit status, and its standard error in *errors.
int shredWithTool(const QStringList& paths, QString* errors = nullptr)
{
    QProcess tool;
    tool.start(TestEnvironment::binDir() + u"/vanisto-shred"_s, QStringList{u"--wipes"_s, u"1"_s} + paths);
    if (!tool.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return tool.exitCode();
}

qint64 pieceCount(const QList<QByteArray>& originals)
{
    qint64 count = 0;
    for (const QByteArray& original : originals)
        count += original.size() / Piece;
    return count;
}
} // namespace

class TestShredDisk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_image;
    QString m_device;
    QString m_mount;
    QStringList m_innerMounts;
    QStringList m_immutable;
    QList<QByteArray> m_mustBeGone;
    FakeShredWindow m_window;
    QList<ShredEvent> m_events;
    std::unique_ptr<ShredEngine> m_engine;

    QString path(const QString& name) const { return m_mount + QLatin1Char('/') + name; }

    QByteArray imageBytes()
    {
        ::sync();
        return readFile(m_image);
    }

    // Always leaves the machine as it was: flags cleared, everything unmounted, loop detached.
    void detach()
    {
        for (const QString& item : std::as_const(m_immutable))
            TestFiles::setImmutable(item, false);
        m_immutable.clear();
        while (!m_innerMounts.isEmpty())
            runCommand({u"umount"_s, m_innerMounts.takeLast()});
        if (!m_mount.isEmpty() && runCommand({u"umount"_s, m_mount}).isEmpty())
            m_mount.clear();
        if (!m_device.isEmpty() && runCommand({u"losetup"_s, u"-d"_s, m_device}).isEmpty())
            m_device.clear();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QFAIL("the disk test needs root: it attaches an ext4 image through a loop device");
        QVERIFY(m_dir.isValid());
        m_image = m_dir.filePath(u"disk.img"_s);
        QFile image(m_image);
        QVERIFY(image.open(QIODevice::WriteOnly) && image.resize(64 * 1024 * 1024));
        image.close();
        QString error = runCommand({u"mkfs.ext4"_s, u"-q"_s, u"-F"_s, m_image});
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QProcess losetup;
        losetup.start(u"losetup"_s, {u"--find"_s, u"--show"_s, m_image});
        losetup.waitForFinished();
        m_device = QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
        if (losetup.exitCode() != 0 || m_device.isEmpty())
            QFAIL(qPrintable(u"no loop device could be attached (losetup: %1)"_s.arg(
                QString::fromLocal8Bit(losetup.readAllStandardError()).trimmed())));
        const QString mountPoint = m_dir.filePath(u"mnt"_s);
        QVERIFY(QDir().mkpath(mountPoint));
        error = runCommand({u"mount"_s, u"-t"_s, u"ext4"_s, m_device, mountPoint});
        if (!error.isEmpty())
            QFAIL(qPrintable(u"the ext4 image could be attached but not mounted: "_s + error));
        m_mount = mountPoint;
    }

    void init()
    {
        m_window = FakeShredWindow();
        m_events.clear();
        m_engine = std::make_unique<ShredEngine>(m_window);
        m_engine->setEventHandler([this](const ShredEvent& event) { m_events.append(event); });
        Shared() = SharedState();
        Shared().NumOverwrite = 1;
        PendingDeletions::save({});
    }

    void contentGone_data()
    {
        QTest::addColumn<int>("method");
        QTest::newRow("normal") << 1;
        QTest::newRow("enhanced") << 2;
        QTest::newRow("ultra") << 3;
    }
    void contentGone()
    {
        QFETCH(int, method);
        Shared().FastShred = qint16(method);
        const QString tree = path(u"tree%1"_s.arg(method));
        const QString big = path(u"big%1.bin"_s.arg(method));
        const qint64 sizes[] = {40, 4095, 4096, 4097, 8191, 8192, 8193, 12288, 20480, 65537, 1024 * 1024 + 3};
        QList<QByteArray> originals{seededBytes(9 * 1024 * 1024, method * 1000)};
        QVERIFY(writeFile(big, originals.first()));
        int seed = method * 1000;
        for (const qint64 size : sizes) {
            const QString folder = tree + u"/level%1/deeper"_s.arg(size % 3);
            originals.append(seededBytes(size, ++seed));
            QVERIFY(QDir().mkpath(folder) && writeFile(folder + u"/file%1"_s.arg(size), originals.last()));
        }
        QVERIFY2(piecesFound(imageBytes(), originals) >= pieceCount(originals),
                 "the originals must be on the disk");

        m_engine->ShredFile(big, QFileInfo(big).fileName());
        m_engine->LoadFolders(tree);

        QVERIFY(!QFileInfo::exists(big) && !QFileInfo::exists(tree));
        QVERIFY(m_events.isEmpty());
        m_mustBeGone += originals;
    }

    void immutableFileIsQueued()
    {
        const QString folder = path(u"with-immutable"_s);
        const QByteArray original = seededBytes(5000, 7);
        QVERIFY(QDir().mkpath(folder) && writeFile(folder + u"/fixed"_s, original) &&
                writeFile(folder + u"/other"_s, "other"));
        QVERIFY(TestFiles::setImmutable(folder + u"/fixed"_s, true));
        m_immutable.append(folder + u"/fixed"_s);

        m_engine->LoadFolders(folder);

        QCOMPARE(readFile(folder + u"/fixed"_s), original);
        QVERIFY(!QFileInfo::exists(folder + u"/other"_s));
        QVERIFY(Shared().LockedFilesFound);
        QCOMPARE(PendingDeletions::load(), QStringList{folder + u"/fixed"_s});
        QCOMPARE(m_events.size(), 2); // the file queued, its folder kept under its name
    }

    void readOnlyMountIsQueued()
    {
        const QString source = path(u"ro-source"_s);
        const QString readOnly = path(u"ro"_s);
        QVERIFY(QDir().mkpath(source) && QDir().mkpath(readOnly) && writeFile(source + u"/f"_s, "kept"));
        QCOMPARE(runCommand({u"mount"_s, u"--bind"_s, source, readOnly}), QString());
        m_innerMounts.append(readOnly);
        QCOMPARE(runCommand({u"mount"_s, u"-o"_s, u"remount,bind,ro"_s, readOnly}), QString());

        m_engine->ShredFile(readOnly + u"/f"_s, u"f"_s);

        QCOMPARE(readFile(source + u"/f"_s), QByteArray("kept"));
        QCOMPARE(PendingDeletions::load(), QStringList{readOnly + u"/f"_s});
        QCOMPARE(runCommand({u"umount"_s, m_innerMounts.takeLast()}), QString());
    }

    void mountPointsInTreeAreNotEntered()
    {
        const QString tree = path(u"with-mounts"_s);
        const QString elsewhere = path(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(tree + u"/tmpfs"_s) && QDir().mkpath(tree + u"/bound"_s) &&
                QDir().mkpath(elsewhere) && writeFile(tree + u"/mine"_s, "x"));
        QVERIFY(writeFile(elsewhere + u"/theirs"_s, "theirs"));
        // Another file system, and a folder of this same file system bound into the tree.
        QCOMPARE(runCommand({u"mount"_s, u"-t"_s, u"tmpfs"_s, u"tmpfs"_s, tree + u"/tmpfs"_s}), QString());
        m_innerMounts.append(tree + u"/tmpfs"_s);
        QCOMPARE(runCommand({u"mount"_s, u"--bind"_s, elsewhere, tree + u"/bound"_s}), QString());
        m_innerMounts.append(tree + u"/bound"_s);
        QVERIFY(writeFile(tree + u"/tmpfs/theirs"_s, "theirs"));

        m_engine->LoadFolders(tree);

        QVERIFY(!QFileInfo::exists(tree + u"/mine"_s));
        QCOMPARE(readFile(tree + u"/tmpfs/theirs"_s), QByteArray("theirs"));
        QCOMPARE(readFile(elsewhere + u"/theirs"_s), QByteArray("theirs"));
        QCOMPARE(std::count_if(m_events.begin(), m_events.end(),
                               [](const ShredEvent& e) { return e.kind == ShredEvent::Kind::Refused; }),
                 2);
        while (!m_innerMounts.isEmpty())
            QCOMPARE(runCommand({u"umount"_s, m_innerMounts.takeLast()}), QString());
    }

    void queueSurvivesARestart()
    {
        // Nothing may be renamed or removed: the file is overwritten and queued; the next start ends it.
        const QString folder = path(u"locked-folder"_s);
        const QByteArray original = seededBytes(9000, 11);
        QVERIFY(QDir().mkpath(folder) && writeFile(folder + u"/f"_s, original));
        QVERIFY(TestFiles::setImmutable(folder, true));
        m_immutable.append(folder);
        QCOMPARE(shredWithTool({folder + u"/f"_s}), 1);
        QCOMPARE(PendingDeletions::load(), QStringList{folder + u"/f"_s});
        QVERIFY(readFile(folder + u"/f"_s) != original);

        QVERIFY(TestFiles::setImmutable(folder, false));
        ProcessPendingDeletions(*m_engine);
        QVERIFY(!QFileInfo::exists(folder + u"/f"_s));
        QVERIFY(PendingDeletions::load().isEmpty());
        m_mustBeGone.append(original);
    }

    void diskFillsWhileTheFileGrows()
    {
        const QString file = path(u"grows"_s);
        const QByteArray original = seededBytes(8193, 13);
        QVERIFY(writeFile(file, original));
        QFile filler(path(u"filler"_s));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray zeros(4096, '\0');
        while (filler.write(zeros) == zeros.size() && filler.flush())
            ;
        ::fsync(filler.handle());

        m_engine->ShredFile(file, u"grows"_s);

        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(m_events.isEmpty());
        filler.remove();
        m_mustBeGone.append(original);
    }

    // btrfs copies on write: the tool says so once (status 3), unless the file is made no-copy-on-write.
    void copyOnWriteIsSaid()
    {
        const QString image = m_dir.filePath(u"cow.img"_s);
        const QString mountPoint = m_dir.filePath(u"cow"_s);
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(128 * 1024 * 1024) &&
                QDir().mkpath(mountPoint));
        file.close();
        const QString mkfs = runCommand({u"mkfs.btrfs"_s, u"-q"_s, u"-f"_s, image});
        if (mkfs.contains(u"No such file"_s) || mkfs.contains(u"not start"_s))
            QSKIP("mkfs.btrfs is not installed");
        QCOMPARE(mkfs, QString());
        const QString mounted = runCommand({u"mount"_s, u"-o"_s, u"loop"_s, image, mountPoint});
        if (!mounted.isEmpty())
            QSKIP(qPrintable(u"this machine cannot mount btrfs: "_s + mounted));
        m_innerMounts.append(mountPoint);
        QVERIFY(writeFile(mountPoint + u"/a"_s, "a") && writeFile(mountPoint + u"/b"_s, "b"));
        const QString inPlace = mountPoint + u"/in-place"_s;
        {
            QFile noCow(inPlace);
            QVERIFY(noCow.open(QIODevice::WriteOnly));
            int flags = 0;
            QCOMPARE(::ioctl(noCow.handle(), FS_IOC_GETFLAGS, &flags), 0);
            flags |= FS_NOCOW_FL;
            QCOMPARE(::ioctl(noCow.handle(), FS_IOC_SETFLAGS, &flags), 0);
            QVERIFY(noCow.write("c") == 1);
        }

        QString inPlaceErrors;
        QCOMPARE(shredWithTool({inPlace}, &inPlaceErrors), 0);
        QCOMPARE(inPlaceErrors, QString());
        QString errors;
        QCOMPARE(shredWithTool({mountPoint + u"/a"_s, mountPoint + u"/b"_s}, &errors), 3);
        QCOMPARE(errors.count(u"warning"_s), 1);
        QVERIFY(errors.contains(u"btrfs"_s));
        QVERIFY(!exists(mountPoint + u"/a"_s) && !exists(mountPoint + u"/b"_s));
        QVERIFY(readFile(TestEnvironment::stateHome() + u"/Vanisto/errlog.dat"_s).contains("btrfs"));

        // The window's run: the files go, and one message says the content may remain.
        FakeRunWindow window;
        for (const QString& name : {u"c"_s, u"d"_s}) {
            QVERIFY(writeFile(mountPoint + QLatin1Char('/') + name, "x"));
            window.add({mountPoint + QLatin1Char('/') + name});
        }
        StartShred(window);
        QVERIFY(!exists(mountPoint + u"/c"_s) && !exists(mountPoint + u"/d"_s));
        QCOMPARE(window.calls.count(u"CopyOnWriteWarning"_s), 1);
        QCOMPARE(runCommand({u"umount"_s, m_innerMounts.takeLast()}), QString());
    }

    // An overlay's lower layer is out of reach of a write, and the tool says so.
    void overlayKeepsItsLowerLayer()
    {
        for (const char* folder : {"lower", "upper", "work", "merged"})
            QVERIFY(QDir().mkpath(m_dir.filePath(QLatin1String("overlay/") + QLatin1String(folder))));
        QVERIFY(writeFile(m_dir.filePath(u"overlay/lower/f"_s), "lower"));
        const QString merged = m_dir.filePath(u"overlay/merged"_s);
        const QString options = u"lowerdir=%1,upperdir=%2,workdir=%3"_s.arg(
            m_dir.filePath(u"overlay/lower"_s), m_dir.filePath(u"overlay/upper"_s),
            m_dir.filePath(u"overlay/work"_s));
        const QString mounted =
            runCommand({u"mount"_s, u"-t"_s, u"overlay"_s, u"overlay"_s, u"-o"_s, options, merged});
        if (!mounted.isEmpty())
            QSKIP(qPrintable(u"this machine cannot mount an overlay: "_s + mounted));
        m_innerMounts.append(merged);
        QCOMPARE(shredWithTool({merged + u"/f"_s}), 3);
        QVERIFY(!exists(merged + u"/f"_s));
        QCOMPARE(runCommand({u"umount"_s, m_innerMounts.takeLast()}), QString());
    }

    // A program that holds the file open for writing keeps it: queued, not called destroyed.
    void fileInUseIsQueued()
    {
        const QString file = path(u"in-use"_s);
        QVERIFY(writeFile(file, "being written"));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0400), 0);
        QProcess writer;
        writer.start(u"sh"_s, {u"-c"_s, u"exec 3>>\"$1\"; echo ready; exec sleep 60"_s, u"sh"_s, file});
        QVERIFY(writer.waitForReadyRead(10000));
        m_engine->ShredFile(file, u"in-use"_s);
        writer.kill();
        writer.waitForFinished();
        QCOMPARE(readFile(file), QByteArray("being written"));
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0400)); // its mode as it was

        QCOMPARE(PendingDeletions::load(), QStringList{file});
        QVERIFY(Shared().LockedFilesFound);
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.first().reason, QString::fromLocal8Bit(std::strerror(EBUSY)));
    }

    // A sparse file far larger than the free space: only its data is overwritten, none of it left.
    void sparseFileLargerThanTheDisk()
    {
        const QString file = path(u"sparse"_s);
        const QByteArray data = seededBytes(3 * 1024 * 1024, 17);
        {
            QFile sparse(file);
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.seek(512 * 1024 * 1024) &&
                    sparse.write(data) == data.size() && sparse.resize(qint64(1) << 30) && sparse.flush());
            QCOMPARE(::fsync(sparse.handle()), 0);
        }
        m_engine->ShredFile(file, u"sparse"_s);
        QVERIFY(!exists(file));
        QVERIFY(m_events.isEmpty());
        m_mustBeGone.append(data);
    }

    // Last: the image read raw once it is detached.
    void originalsAreGoneFromTheImage()
    {
        detach();
        QVERIFY2(m_mount.isEmpty() && m_device.isEmpty(), "the image could not be unmounted and detached");
        const qint64 found = piecesFound(readFile(m_image), m_mustBeGone);
        QVERIFY(pieceCount(m_mustBeGone) > 9 * 1024 * 1024 / Piece * 3);
        QCOMPARE(found, 0);
    }

    void cleanupTestCase() { detach(); }
};

VANISTO_TEST_GUILESS_MAIN(TestShredDisk)
#include "tst_shreddisk.moc"
