#include "EngineTestKit.h"

#include <unordered_map>

// Shreds on a real ext4 image through a loop device, then reads the raw image for the files' pieces.
constexpr int Piece = 32;

// What went wrong running command (empty when nothing did); what it printed in *out.
static QString runCommand(const QStringList& command, QString* out = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool done = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (out)
        *out = output;
    return done && process.exitCode() == 0 ? QString() : command.join(QLatin1Char(' ')) + u": "_s + output;
}

// The 32-byte pieces of the originals (aligned by ext4's 4 KiB blocks) in the image; all of them in *all.
static qint64 piecesFound(const QByteArray& image, const QList<QByteArray>& originals, qint64* all = nullptr)
{
    std::unordered_multimap<quint64, const char*> index;
    for (const QByteArray& original : originals)
        for (qint64 at = 0; at + Piece <= original.size(); at += Piece)
            index.emplace(qFromUnaligned<quint64>(original.constData() + at), original.constData() + at);
    if (all)
        *all = qint64(index.size());
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

class TestShredDisk : public QObject, EngineRig
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_image;
    QString m_device;
    QString m_mount;
    QStringList m_innerMounts;
    QStringList m_immutable;
    QList<QByteArray> m_mustBeGone;

    QString path(const QString& name) const { return m_mount + QLatin1Char('/') + name; }

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
        QVERIFY2(::geteuid() == 0,
                 "the disk test needs root: it attaches an ext4 image through a loop device");
        QVERIFY(m_work.isValid());
        m_image = m_work.filePath(u"disk.img"_s);
        QCOMPARE(runCommand({u"truncate"_s, u"-s"_s, u"64M"_s, m_image}), QString());
        QCOMPARE(runCommand({u"mkfs.ext4"_s, u"-q"_s, u"-F"_s, m_image}), QString());
        QString error = runCommand({u"losetup"_s, u"--find"_s, u"--show"_s, m_image}, &m_device);
        QVERIFY2(error.isEmpty() && !m_device.isEmpty(), qPrintable(u"no loop device attached: "_s + error));
        const QString mountPoint = m_work.filePath(u"mnt"_s);
        QVERIFY(QDir().mkpath(mountPoint));
        error = runCommand({u"mount"_s, u"-t"_s, u"ext4"_s, m_device, mountPoint});
        QVERIFY2(error.isEmpty(), qPrintable(u"the image is attached but could not be mounted: "_s + error));
        m_mount = mountPoint;
    }

    void init() { QVERIFY(resetEngine(false)); }

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
        qint64 all = 0;
        ::sync();
        QVERIFY2(piecesFound(readFile(m_image), originals, &all) >= all, "the originals must be on the disk");

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
        QVERIFY(QDir().mkpath(tree + u"/tmpfs"_s) && QDir().mkpath(tree + u"/bound"_s));
        QVERIFY(writeFile(tree + u"/mine"_s, "x") &&
                TestFiles::writeTree(elsewhere, {u"theirs"_s}, "theirs"));
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
        QCOMPARE(eventsOf(ShredEvent::Kind::Refused), 2);
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
        QCOMPARE(runTool({u"--wipes"_s, u"1"_s, folder + u"/f"_s}).exitCode, 1);
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
        const QString image = m_work.filePath(u"cow.img"_s);
        const QString mountPoint = m_work.filePath(u"cow"_s);
        QVERIFY(QDir().mkpath(mountPoint));
        QCOMPARE(runCommand({u"truncate"_s, u"-s"_s, u"128M"_s, image}), QString());
        if (QStandardPaths::findExecutable(u"mkfs.btrfs"_s).isEmpty())
            QSKIP("mkfs.btrfs (package btrfs-progs) is not installed");
        QCOMPARE(runCommand({u"mkfs.btrfs"_s, u"-q"_s, u"-f"_s, image}), QString());
        const QString mounted = runCommand({u"mount"_s, u"-o"_s, u"loop"_s, image, mountPoint});
        if (!mounted.isEmpty())
            QSKIP(qPrintable(u"this machine cannot mount btrfs: "_s + mounted));
        m_innerMounts.append(mountPoint);
        QVERIFY(writeFile(mountPoint + u"/a"_s, "a") && writeFile(mountPoint + u"/b"_s, "b"));
        const QString inPlace = mountPoint + u"/in-place"_s;
        // No copy on write can only be switched on while the file is empty.
        QVERIFY(writeFile(inPlace, QByteArray()));
        QCOMPARE(runCommand({u"chattr"_s, u"+C"_s, inPlace}), QString());
        QVERIFY(writeFile(inPlace, "c"));

        const ToolResult inPlaceRun = runTool({u"--wipes"_s, u"1"_s, inPlace});
        QCOMPARE(inPlaceRun.exitCode, 0);
        QCOMPARE(inPlaceRun.errors, QString());
        const ToolResult copied = runTool({u"--wipes"_s, u"1"_s, mountPoint + u"/a"_s, mountPoint + u"/b"_s});
        QCOMPARE(copied.exitCode, 3);
        QCOMPARE(copied.errors.count(u"warning"_s), 1);
        QVERIFY(copied.errors.contains(u"btrfs"_s));
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
        const QString overlay = m_work.filePath(u"overlay"_s);
        for (const QString& folder : {u"upper"_s, u"work"_s, u"merged"_s})
            QVERIFY(QDir().mkpath(overlay + QLatin1Char('/') + folder));
        QVERIFY(TestFiles::writeTree(overlay, {u"lower/f"_s}, "lower"));
        const QString merged = overlay + u"/merged"_s;
        const QString options = u"lowerdir=%1/lower,upperdir=%1/upper,workdir=%1/work"_s.arg(overlay);
        const QString mounted =
            runCommand({u"mount"_s, u"-t"_s, u"overlay"_s, u"overlay"_s, u"-o"_s, options, merged});
        if (!mounted.isEmpty())
            QSKIP(qPrintable(u"this machine cannot mount an overlay: "_s + mounted));
        m_innerMounts.append(merged);
        QCOMPARE(runTool({u"--wipes"_s, u"1"_s, merged + u"/f"_s}).exitCode, 3);
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
        QVERIFY(exists(file));
        QCOMPARE(TestFiles::modeOf(file), mode_t(0400)); // its mode as it was

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
        qint64 all = 0;
        const qint64 found = piecesFound(readFile(m_image), m_mustBeGone, &all);
        QVERIFY(all > 9 * 1024 * 1024 / Piece * 3);
        QCOMPARE(found, 0);
    }

    void cleanupTestCase() { detach(); }
};

VANISTO_TEST_GUILESS_MAIN(TestShredDisk)
#include "tst_shreddisk.moc"
