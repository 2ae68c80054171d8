#include "EngineTestKit.h"

#include <sys/fsuid.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

class TestShredEngine : public QObject, EngineRig
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(resetEngine(true)); }

    // L one letter, R random letters, 1, 0, A "1010…", B "0101…"; past a block, block counts round to even.
    void bytesWritten_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("wipes");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("alternatingLength");
        QTest::addColumn<int>("finalSize");
        QTest::newRow("normal, 8,193 bytes grow to 16,384") << 1 << 2 << 8193 << u"LL"_s << 2 << 0 << 16384;
        QTest::newRow("normal, 12,288 round up to 24,576") << 1 << 1 << 12288 << u"L"_s << 3 << 0 << 24576;
        QTest::newRow("normal, 20,480 round down to 24,576") << 1 << 1 << 20480 << u"L"_s << 3 << 0 << 24576;
        QTest::newRow("normal, 0 wipes still writes one pass") << 1 << 0 << 500 << u"L"_s << 1 << 0 << 500;
        QTest::newRow("normal, -5 wipes still writes one pass") << 1 << -5 << 500 << u"L"_s << 1 << 0 << 500;
        QTest::newRow("normal, empty file") << 1 << 1 << 0 << u"L"_s << 1 << 0 << 0;
        const QString enhanced = u"10R"_s.repeated(8), ultra = u"10ABR"_s.repeated(8);
        QTest::newRow("enhanced raises 3 wipes to 8") << 2 << 3 << 100 << enhanced << 1 << 0 << 100;
        QTest::newRow("ultra, 12 bytes grow by 4") << 3 << 8 << 12 << ultra << 1 << 16 << 16;
        QTest::newRow("ultra, 20 bytes keep their tail") << 3 << 1 << 20 << ultra << 1 << 16 << 20;
        QTest::newRow("ultra, 8,192 bytes stay one block")
            << 3 << 9 << 8192 << ultra + u"10ABR"_s << 1 << 8192 << 8192;
    }
    void bytesWritten()
    {
        QFETCH(int, method);
        QFETCH(int, length);
        QFETCH(QString, patterns);
        QFETCH(int, blocks);
        QFETCH(int, wipes);
        QFETCH(int, alternatingLength);
        QFETCH(int, finalSize);
        Shared().FastShred = qint16(method);
        Shared().NumOverwrite = wipes;
        m_window.expand = method == 2;
        const QString file = path(u"data.bin"_s);
        QVERIFY(writeFile(file, seededBytes(length, 1)));

        m_engine->ShredFile(file, u"data.bin"_s);

        QVERIFY(!exists(file));
        QCOMPARE(m_writer.patterns.size() - 1, patterns.size());
        const qint64 blockSize = qMin<qint64>(length, 8192);
        char previousLetter = 0;
        for (int i = 0; i < patterns.size(); ++i) {
            const char kind = patterns.at(i).toLatin1();
            const QList<RecordingWriter::Write>& writes = m_writer.patterns.at(i).writes;
            const QByteArray data = writes.first().data;
            QCOMPARE(writes.size(), blocks);
            for (int k = 0; k < blocks; ++k)
                QVERIFY(writes.at(k).offset == k * blockSize && writes.at(k).data == data);
            QCOMPARE(data.size(), kind == 'A' || kind == 'B' ? alternatingLength : blockSize);
            if (kind == 'R') {
                QVERIFY(QRegularExpression(u"^[A-Z]+$"_s).match(QString::fromLatin1(data)).hasMatch());
                QVERIFY(data != QByteArray(data.size(), data.at(0)));
            } else if (kind == 'L' && !data.isEmpty()) {
                QVERIFY(data == QByteArray(data.size(), data.at(0)) && data.at(0) != previousLetter);
                previousLetter = data.at(0);
            } else if (kind != 'L') {
                const QByteArray unit = kind == 'A' ? "10" : kind == 'B' ? "01" : QByteArray(1, kind);
                QCOMPARE(data, unit.repeated(data.size() / unit.size()));
            }
        }
        QCOMPARE(m_writer.patterns.at(patterns.size() - 1).sizeAfter, finalSize);
        const int perPass = method == 1 ? 1 : method == 2 ? 3 : 5;
        QCOMPARE(m_window.max[0], qint64(blocks) * Shared().NumOverwrite * perPass);
        QCOMPARE((QList<qint64>{m_window.max[1], m_window.highestValue, m_window.value[0]}),
                 (QList<qint64>{m_window.max[0], m_window.max[0], 0}));
        QCOMPARE(m_window.visible[1], m_window.expand);
        QCOMPARE(Shared().NumOverwrite, patterns.size() / perPass);
        QCOMPARE((QStringList{m_window.caption(Caption::lblstatus), m_window.caption(Caption::lblstatus2)}),
                 QStringList(2, RunCaption::Done));
        QVERIFY(m_window.caption(Caption::lblPrompt).endsWith(u"SHREDDING: data.bin"_s));
    }

    // Every one-letter name beside the item is taken: a rename then takes a longer one, never fails.
    void renamedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("shown");
        const QString thirty(30, QLatin1Char('n'));
        QTest::newRow("file keeps its length, shown whole") << thirty << false << "^[A-Z]{30}$" << thirty;
        QTest::newRow("31 letters, cut") << thirty + u"x"_s << false << "^[A-Z]{31}$" << thirty + u"..."_s;
        QTest::newRow("file whose length has no name left") << u"A"_s << false << "^[A-Z]{2}$" << u"A"_s;
        QTest::newRow("folder grows by one") << "Reports" << true << "^R[A-Z]{7}$" << QString();
        QTest::newRow("file at the longest name")
            << QString(251, QLatin1Char('n')) + u".txt"_s << false << "^[A-Z]{255}$" << thirty + u"..."_s;
        QTest::newRow("folder at the longest name")
            << QString(255, QLatin1Char('x')) << true << "^x[A-Z]{254}$" << QString();
    }
    void renamedNames()
    {
        QFETCH(QString, name);
        const QString item = path(name);
        for (char letter = 'B'; letter <= 'Z'; ++letter)
            QVERIFY(writeFile(path(QString(QLatin1Char(letter))), "x"));
        QFETCH(bool, folder);
        QVERIFY(folder ? QDir().mkpath(item + u"/sub"_s) : writeFile(item, "content"));
        // The names the item takes by renames, as the folder's watch sees them.
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::inotify_add_watch(watch, QFile::encodeName(m_dir->path()).constData(), IN_MOVED_TO);
        if (folder)
            m_engine->LoadFolders(item);
        else
            m_engine->ShredFile(item, name);
        QList<QByteArray> names;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;
                 p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
                names.append(QByteArray(reinterpret_cast<inotify_event*>(p)->name));
        ::close(watch);
        QVERIFY(!exists(item));
        QCOMPARE(names.size(), 1);
        QFETCH(QString, expected);
        QVERIFY2(QRegularExpression(expected).match(QString::fromLatin1(names.first())).hasMatch(),
                 names.first().constData());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 25);
        QVERIFY(m_events.isEmpty());
        QFETCH(QString, shown);
        if (!folder)
            QCOMPARE(m_window.caption(Caption::lblPrompt),
                     u"Press Cancel to stop shredding\r\nSHREDDING: "_s + shown);
    }

    // A slow sync keeps yielding to the window, and the next pattern still waits for it.
    void slowSyncStillYields()
    {
        std::atomic<bool> syncing = false;
        m_writer.onSync = [&] {
            syncing = true;
            QThread::msleep(150);
            syncing = false;
        };
        int yieldsDuringSync = 0;
        m_window.onYield = [&] { yieldsDuringSync += syncing ? 1 : 0; };
        Shared().NumOverwrite = 2;
        const QString file = path(u"slow"_s);
        QVERIFY(writeFile(file, QByteArray(20000, 'x')));
        m_engine->ShredFile(file, u"slow"_s);
        QVERIFY(!exists(file));
        QVERIFY2(yieldsDuringSync > 20, qPrintable(QString::number(yieldsDuringSync)));
        QCOMPARE(m_writer.patterns.size(), 3); // two patterns, each ended by its own sync
        QCOMPARE(m_writer.patterns[0].writes.size() + m_writer.patterns[1].writes.size(), 6);
    }

    void stopDeepInTree()
    {
        const QString root = path(u"tree"_s);
        QVERIFY(TestFiles::writeTree(
            root, {u"a.txt"_s, u"z.txt"_s, u"b/c.txt"_s, u"b/d/e.txt"_s, u"b/d/f.txt"_s, u"b/g/h.txt"_s}));
        // Cancel is pressed while e.txt is being overwritten.
        m_window.onYield = [this] {
            if (m_window.caption(Caption::lblstatus2) == RunCaption::Shredding &&
                m_window.caption(Caption::lblPrompt).endsWith(u"e.txt"_s))
                m_window.setCaption(Caption::lblshred, RunCaption::Stopping);
        };
        m_engine->LoadFolders(root);

        for (const QString& gone : {u"a.txt"_s, u"z.txt"_s, u"b/c.txt"_s, u"b/d/e.txt"_s})
            QVERIFY2(!exists(root + QLatin1Char('/') + gone), qPrintable(gone));
        QVERIFY(exists(root + u"/b/d/f.txt"_s) && exists(root + u"/b/g/h.txt"_s));
        QCOMPARE(m_window.caption(Caption::lblstatus), RunCaption::Stopped);
        QCOMPARE(m_window.caption(Caption::lblPrompt), RunCaption::Stopping);
    }

    // Links are removed, never followed. A name of a file that also lives outside goes alone; with
    // every name in the run, all go.
    void linksAndHardLinks()
    {
        const QString outside = path(u"outside"_s);
        const QString keep = outside + u"/keep"_s;
        const QString tree = path(u"tree"_s);
        const QByteArray original = seededBytes(3000, 2);
        QVERIFY(TestFiles::writeTree(outside, {u"keep"_s}, original));
        QVERIFY(QDir().mkpath(tree));
        QVERIFY(QFile::link(outside, tree + u"/to-folder"_s));
        QVERIFY(QFile::link(keep, tree + u"/to-file"_s));
        QVERIFY(QFile::link(keep, path(u"file-link"_s)));
        QVERIFY(QFile::link(outside, path(u"folder-link"_s)));
        const QByteArray target = QFile::encodeName(keep);
        QCOMPARE(::link(target.constData(), QFile::encodeName(tree + u"/in"_s).constData()), 0);

        m_engine->LoadFolders(tree);
        m_engine->ShredFile(path(u"file-link"_s), u"file-link"_s);
        m_engine->LoadFolders(path(u"folder-link"_s));
        m_engine->FinishRun();
        QVERIFY(!exists(tree) && !exists(path(u"file-link"_s)) && !exists(path(u"folder-link"_s)));
        QCOMPARE(readFile(keep), original);
        QCOMPARE(m_writer.count, 0);
        QCOMPARE(eventsOf(ShredEvent::Kind::ContentKept), 1);

        const QString second = path(u"second"_s);
        QCOMPARE(::link(target.constData(), QFile::encodeName(second).constData()), 0);
        m_engine->ShredFile(keep, u"keep"_s);
        m_engine->ShredFile(second, u"second"_s);
        m_engine->FinishRun();
        QVERIFY(!exists(keep) && !exists(second));
        QCOMPARE(m_writer.count, 1);
        QCOMPARE(eventsOf(ShredEvent::Kind::ContentKept), 1);
    }

    // Never opened: a FIFO, a device or a socket; "dir/.", "link/.." and the folder above home are
    // judged by the kernel's item, not the text.
    void specialItemsAndPlacesAreRefused()
    {
        const QString tree = path(u"tree"_s);
        QVERIFY(QDir().mkpath(tree) && writeFile(tree + u"/plain"_s, "plain"));
        QCOMPARE(::mkfifo(QFile::encodeName(tree + u"/fifo"_s).constData(), 0600), 0);
        QCOMPARE(::mknod(QFile::encodeName(tree + u"/null"_s).constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(tree + u"/sock"_s).constData(), sizeof address.sun_path);
        QCOMPARE(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

        m_engine->LoadFolders(tree); // would hang on opening the FIFO
        ::close(sock);
        // Handed in on its own, as the run does after writing "Shredding" to lblstatus2.
        m_window.setCaption(Caption::lblstatus2, RunCaption::Shredding);
        m_engine->ShredFile(tree + u"/fifo"_s, u"fifo"_s);
        QCOMPARE(m_window.caption(Caption::lblstatus2), RunCaption::Done);

        QVERIFY(!exists(tree + u"/plain"_s));
        QCOMPARE(eventsOf(ShredEvent::Kind::Refused), 4);
        QCOMPARE(eventsOf(ShredEvent::Kind::FolderKept), 1);
        QVERIFY(exists(tree + u"/fifo"_s));
        QCOMPARE(m_writer.count, 1);

        const QString dir = path(u"dir"_s);
        QVERIFY(QDir().mkpath(dir + u"/sub"_s) && writeFile(dir + u"/f"_s, "keep"));
        QVERIFY(QFile::link(dir + u"/sub"_s, path(u"link"_s)));
        QVERIFY(writeFile(QDir::homePath() + u"/mine"_s, "keep"));
        m_engine->LoadFolders(dir + u"/."_s);
        m_engine->LoadFolders(path(u"link/.."_s));
        m_engine->LoadFolders(QDir::homePath() + u"/.."_s);
        m_engine->LoadFolders(QDir::homePath() + u"/../"_s);
        m_engine->ShredFile(dir + u"/f/."_s, u"."_s);
        // "name/" names a folder: a file, or a link to one, is not taken for it.
        QVERIFY(QFile::link(dir + u"/f"_s, path(u"file-link"_s)));
        m_engine->ShredFile(dir + u"/f/"_s, u"f"_s);
        m_engine->ShredFile(path(u"file-link/"_s), u"file-link"_s);
        QVERIFY(exists(path(u"file-link"_s)));
        QCOMPARE(eventsOf(ShredEvent::Kind::Refused), 4 + 7);
        QCOMPARE(readFile(dir + u"/f"_s), QByteArray("keep"));
        QCOMPARE(readFile(QDir::homePath() + u"/mine"_s), QByteArray("keep"));
        QCOMPARE(m_writer.count, 1); // none since the plain file
    }

    // A name that is not UTF-8 is shredded as itself, and queued as itself when it fails.
    void namesThatAreNotText()
    {
        const QString latin1 = PathBytes::decode(QFile::encodeName(path(QString())) + "caf\xE9.txt");
        const QString lookAlike = path(u"caf\uFFFD.txt"_s);
        QVERIFY(writeFile(lookAlike, "keep"));
        QCOMPARE(::close(::open(PathBytes::encode(latin1).constData(), O_CREAT | O_WRONLY, 0600)), 0);
        m_writer.failWith = EIO;
        m_engine->ShredFile(latin1, u"caf\uFFFD.txt"_s);
        QCOMPARE(PendingDeletions::load(), QStringList{latin1});
        m_writer.failWith = 0;
        ProcessPendingDeletions(*m_engine);
        QVERIFY(!exists(latin1));
        QCOMPARE(readFile(lookAlike), QByteArray("keep"));
        QVERIFY(PendingDeletions::load().isEmpty());
    }

    // Failures are appended to the queue, the files untouched; a full disk would fail again at the
    // next start, so it is reported instead; a queue that cannot be written is never called "queued".
    void queueIsAppendedTo()
    {
        m_writer.failWith = ENOSPC;
        QVERIFY(writeFile(path(u"full"_s), "x"));
        m_engine->ShredFile(path(u"full"_s), u"full"_s);
        QCOMPARE(PendingDeletions::load(), QStringList());
        QVERIFY(!Shared().LockedFilesFound);
        m_writer.failWith = EIO;
        for (const QString& name : {u"one"_s, u"two"_s}) {
            QVERIFY(writeFile(path(name), "x"));
            m_engine->ShredFile(path(name), name);
        }
        QCOMPARE(PendingDeletions::load(), (QStringList{path(u"one"_s), path(u"two"_s)}));
        QVERIFY(Shared().LockedFilesFound);
        struct stat before = {};
        QCOMPARE(::stat(QFile::encodeName(PendingDeletions::queueFile()).constData(), &before), 0);
        QVERIFY(writeFile(path(u"three"_s), "x"));
        m_engine->ShredFile(path(u"three"_s), u"three"_s);
        struct stat after = {};
        QCOMPARE(::stat(QFile::encodeName(PendingDeletions::queueFile()).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(PendingDeletions::load().size(), 3);

        QVERIFY(QFile::remove(PendingDeletions::queueFile()) && QDir().mkpath(PendingDeletions::queueFile()));
        m_engine->ShredFile(path(u"one"_s), u"one"_s);
        QVERIFY(QDir().rmdir(PendingDeletions::queueFile()));
        QCOMPARE(eventsOf(ShredEvent::Kind::Queued), 3);
        QCOMPARE(eventsOf(ShredEvent::Kind::Failed), 2); // the full disk, and the queue that was a folder
        for (const QString& name : {u"full"_s, u"one"_s})
            QCOMPARE(readFile(path(name)), QByteArray("x"));
        QCOMPARE(m_window.caption(Caption::lblstatus2), RunCaption::Done);
    }

    // As another user: a -wx folder cannot be opened to be synced, yet its rename and removal reach
    // the disk; a subfolder that cannot be entered is kept, and the walk goes on with the rest.
    void foldersOfAnotherUser()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, to act as another user");
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
        const QString folder = path(u"wx"_s);
        const QString top = path(u"top"_s);
        QVERIFY(writeTree(folder, {u"f"_s}) && writeTree(top, {u"a/f1"_s, u"b/f2"_s, u"c/f3"_s}));
        QVERIFY(TestFiles::giveToNobody({folder, top}));
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0300), 0);
        QCOMPARE(::chmod(QFile::encodeName(top + u"/b"_s).constData(), 0600), 0);
        // As "nobody" for this thread's file access only: root's capabilities are gone with it.
        ::setfsgid(TestFiles::Nobody);
        ::setfsuid(TestFiles::Nobody);
        m_engine->ShredFile(folder + u"/f"_s, u"f"_s);
        const QList<int> syncs = m_writer.folderSyncs;
        m_engine->LoadFolders(top);
        ::setfsuid(0);
        ::setfsgid(0);
        QVERIFY(!exists(folder + u"/f"_s));
        QVERIFY(!syncs.isEmpty());
        QCOMPARE(syncs, QList<int>(syncs.size(), 0));
        QVERIFY(!exists(top + u"/a"_s) && !exists(top + u"/c"_s));
        QVERIFY(exists(top + u"/b/f2"_s));
        QCOMPARE(eventsOf(ShredEvent::Kind::FolderKept), 2); // b, and top that still holds it
        QCOMPARE(m_events.size(), 2);                        // none for the file in the -wx folder
    }

    // A name swapped before queueing queues nothing; a file via a linked folder is queued where it is.
    void queuedOnlyAsTheCheckedFile()
    {
        const QString swapped = path(u"victim"_s);
        const QString theirs = path(u"theirs"_s);
        QVERIFY(writeFile(swapped, "chosen") && writeFile(theirs, "not chosen"));
        m_writer.failWith = EIO;
        // Once the passes have begun on the checked file, the neighbour swaps the name.
        m_window.onYield = [&] {
            if (m_window.max[0] > 0 && exists(theirs))
                ::rename(QFile::encodeName(theirs).constData(), QFile::encodeName(swapped).constData());
        };
        m_engine->ShredFile(swapped, u"victim"_s);
        QCOMPARE(readFile(swapped), QByteArray("not chosen"));
        QCOMPARE(PendingDeletions::load(), QStringList());
        QCOMPARE(eventsOf(ShredEvent::Kind::Failed), 1);

        QVERIFY(QDir().mkpath(path(u"real"_s)) && writeFile(path(u"real/f"_s), "x"));
        QVERIFY(QFile::link(path(u"real"_s), path(u"via"_s)));
        m_engine->ShredFile(path(u"via/f"_s), u"f"_s);
        QCOMPARE(PendingDeletions::load(), QStringList{QFileInfo(path(u"real/f"_s)).canonicalFilePath()});
    }

    // One descriptor per level: a tree deeper than the descriptor limit is still shredded whole.
    void treeDeeperThanTheDescriptorLimit()
    {
        const QString top = path(u"deep"_s);
        const QString deep = top + u"/d"_s.repeated(150);
        QVERIFY(QDir().mkpath(deep) && writeFile(deep + u"/f"_s, "x"));
        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
        const rlimit low{64, old.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        m_engine->LoadFolders(top);
        ::setrlimit(RLIMIT_NOFILE, &old);
        QVERIFY(!exists(top));
        QVERIFY(m_events.isEmpty());
    }

    // Offsets past 4 GiB, and holes passed over: only the blocks that hold data are written.
    void sparseFileOver4GiB()
    {
        const QString file = path(u"sparse"_s);
        const qint64 length = (qint64(1) << 32) + 5000;
        QFile sparse(file);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write("head") == 4 && sparse.seek(length - 4) &&
                sparse.write("tail") == 4);
        sparse.close();
        m_writer.forward = false;
        m_writer.keepData = false;
        m_engine->ShredFile(file, u"sparse"_s);
        QVERIFY(!exists(file));
        QCOMPARE(m_writer.count, 3);
        QCOMPARE(m_writer.patterns[0].writes.last().offset, qint64(524289) * 8192);
        QCOMPARE((QList<qint64>{m_window.max[0], m_window.highestValue}), (QList<qint64>{524290, 524290}));
    }

    // The pattern lies over the file from its start, past a megabyte, mid-block and past one call's vectors.
    void writeBlocksLaysThePatternOverTheFile()
    {
        const QByteArray file = QFile::encodeName(path(u"f"_s));
        const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray block = seededBytes(8192, 3);
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
};

VANISTO_TEST_GUILESS_MAIN(TestShredEngine)
#include "tst_shredengine.moc"
