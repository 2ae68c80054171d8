#include "FakeShredWindow.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "common/SharedState.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"
#include "platform/FileDescriptor.h"
#include "platform/PathBytes.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

namespace {
// The names that items took by renames inside folder while action ran.
QList<QByteArray> renamedTo(const QString& folder, const std::function<void()>& action)
{
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ::inotify_add_watch(fd, QFile::encodeName(folder).constData(), IN_MOVED_TO);
    action();
    QList<QByteArray> names;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n;
             p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            names.append(QByteArray(reinterpret_cast<inotify_event*>(p)->name));
    ::close(fd);
    return names;
}
} // namespace

class TestShredEngine : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeShredWindow m_window;
    CyclingLetters m_letters;
    RecordingWriter m_writer;
    QList<ShredEvent> m_events;
    std::unique_ptr<ShredEngine> m_engine;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    int eventsOf(ShredEvent::Kind kind) const
    {
        return int(std::count_if(m_events.begin(), m_events.end(),
                                 [&](const ShredEvent& e) { return e.kind == kind; }));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_window = FakeShredWindow();
        m_letters = CyclingLetters();
        m_writer = RecordingWriter();
        m_events.clear();
        m_engine = std::make_unique<ShredEngine>(m_window);
        m_engine->setLetterSource(&m_letters);
        m_engine->setBlockWriter(&m_writer);
        m_engine->setEventHandler([this](const ShredEvent& event) { m_events.append(event); });
        Shared() = SharedState();
        Shared().FastShred = 1;
        Shared().NumOverwrite = 1;
        PendingDeletions::save({});
    }

    // Patterns: L one letter for the pass, R random letters, 1 "1", 0 "0", A "10101010", B "01010101".
    void bytesWritten_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("wipes");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("alternatingLength");
        QTest::addColumn<qint64>("finalSize");
        QTest::newRow("normal, 8,193 bytes grow to 16,384")
            << 1 << 2 << qint64(8193) << "LL" << 2 << 0 << qint64(16384);
        QTest::newRow("normal, 12,288 grow to 24,576")
            << 1 << 1 << qint64(12288) << "L" << 3 << 0 << qint64(24576);
        QTest::newRow("normal, 0 wipes still writes one pass")
            << 1 << 0 << qint64(500) << "L" << 1 << 0 << qint64(500);
        QTest::newRow("normal, -5 wipes still writes one pass")
            << 1 << -5 << qint64(500) << "L" << 1 << 0 << qint64(500);
        QTest::newRow("normal, empty file") << 1 << 1 << qint64(0) << "L" << 1 << 0 << qint64(0);
        QTest::newRow("enhanced raises 3 wipes to 8")
            << 2 << 3 << qint64(100) << QString(QStringLiteral("10R")).repeated(8) << 1 << 0 << qint64(100);
        QTest::newRow("ultra, 12 bytes grow by 4")
            << 3 << 8 << qint64(12) << QString(QStringLiteral("10ABR")).repeated(8) << 1 << 16 << qint64(16);
        QTest::newRow("ultra, 20 bytes keep their tail")
            << 3 << 1 << qint64(20) << QString(QStringLiteral("10ABR")).repeated(8) << 1 << 16 << qint64(20);
        QTest::newRow("ultra, 8,192 bytes stay one block")
            << 3 << 9 << qint64(8192) << QString(QStringLiteral("10ABR")).repeated(9) << 1 << 8192
            << qint64(8192);
    }
    void bytesWritten()
    {
        QFETCH(int, method);
        QFETCH(qint64, length);
        QFETCH(QString, patterns);
        QFETCH(int, blocks);
        QFETCH(int, wipes);
        QFETCH(int, alternatingLength);
        QFETCH(qint64, finalSize);
        Shared().FastShred = qint16(method);
        Shared().NumOverwrite = wipes;
        m_window.expand = method == 2;
        const QString file = path(QStringLiteral("data.bin"));
        QVERIFY(writeFile(file, seededBytes(length, 1)));

        m_engine->ShredFile(file, QStringLiteral("data.bin"));

        QVERIFY(!exists(file));
        QCOMPARE(m_writer.patterns.size() - 1, patterns.size());
        const qint64 blockSize = qMin<qint64>(length, 8192);
        char previousLetter = 0;
        for (int i = 0; i < patterns.size(); ++i) {
            const QChar kind = patterns.at(i);
            const RecordingWriter::PatternRecord& record = m_writer.patterns.at(i);
            QCOMPARE(record.writes.size(), blocks);
            for (int k = 0; k < blocks; ++k) {
                const QByteArray& data = record.writes.at(k).data;
                QCOMPARE(record.writes.at(k).offset, k * blockSize);
                QCOMPARE(data, record.writes.first().data);
                QCOMPARE(data.size(), kind == QLatin1Char('A') || kind == QLatin1Char('B') ? alternatingLength
                                                                                           : blockSize);
            }
            const QByteArray data = record.writes.first().data;
            if (kind == QLatin1Char('1') || kind == QLatin1Char('0'))
                QCOMPARE(data, QByteArray(data.size(), kind.toLatin1()));
            else if (kind == QLatin1Char('A'))
                QCOMPARE(data, QByteArray("10101010").repeated(data.size() / 8));
            else if (kind == QLatin1Char('B'))
                QCOMPARE(data, QByteArray("01010101").repeated(data.size() / 8));
            else if (kind == QLatin1Char('L') && !data.isEmpty()) {
                QCOMPARE(data, QByteArray(data.size(), data.at(0)));
                QVERIFY(data.at(0) != previousLetter);
                previousLetter = data.at(0);
            } else if (kind == QLatin1Char('R')) {
                QVERIFY(QRegularExpression(QStringLiteral("^[A-Z]+$"))
                            .match(QString::fromLatin1(data))
                            .hasMatch());
                QVERIFY(data != QByteArray(data.size(), data.at(0)));
            }
        }
        if (!patterns.isEmpty())
            QCOMPARE(m_writer.patterns.at(patterns.size() - 1).sizeAfter, finalSize);
        const int perPass = method == 1 ? 1 : method == 2 ? 3 : 5;
        QCOMPARE(m_window.max[0], qint64(blocks) * Shared().NumOverwrite * perPass);
        QCOMPARE(m_window.max[1], m_window.max[0]);
        QCOMPARE(m_window.highestValue, m_window.max[0]);
        QCOMPARE(m_window.value[0], 0);
        QCOMPARE(m_window.visible[1], m_window.expand);
        QCOMPARE(Shared().NumOverwrite, patterns.size() / perPass);
        QCOMPARE(m_window.caption(Caption::lblstatus), RunCaption::Done);
        QCOMPARE(m_window.caption(Caption::lblstatus2), RunCaption::Done);
        QVERIFY(m_window.caption(Caption::lblPrompt).endsWith(QStringLiteral("SHREDDING: data.bin")));
    }

    void renamedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file keeps its length") << "report.txt" << false << "^[A-Z]{10}$";
        QTest::newRow("folder grows by one") << "Reports" << true << "^R[A-Z]{7}$";
        QTest::newRow("folder at the longest name")
            << QString(255, QLatin1Char('x')) << true << "^x[A-Z]{254}$";
    }
    void renamedNames()
    {
        QFETCH(QString, name);
        const QString item = path(name);
        QFETCH(bool, folder);
        QVERIFY(folder ? QDir().mkpath(item + QStringLiteral("/sub")) : writeFile(item, "content"));
        const QList<QByteArray> names = renamedTo(m_dir->path(), [&] {
            if (folder)
                m_engine->LoadFolders(item);
            else
                m_engine->ShredFile(item, name);
        });
        QVERIFY(!exists(item));
        QCOMPARE(names.size(), 1);
        QFETCH(QString, expected);
        QVERIFY2(QRegularExpression(expected).match(QString::fromLatin1(names.first())).hasMatch(),
                 names.first().constData());
    }

    // A disk that takes its time over a sync does not hold the window: it keeps being yielded to
    // while the sync runs, and the next pattern waits for the sync all the same.
    void slowSyncStillYields()
    {
        struct SlowDisk : RecordingWriter
        {
            std::atomic<bool> syncing = false;
            int syncPattern(int fd) override
            {
                syncing = true;
                QThread::msleep(150);
                const int result = RecordingWriter::syncPattern(fd);
                syncing = false;
                return result;
            }
        } slow;
        int yieldsDuringSync = 0;
        m_window.onYield = [&] { yieldsDuringSync += slow.syncing ? 1 : 0; };
        m_engine->setBlockWriter(&slow);
        Shared().NumOverwrite = 2;
        const QString file = path(QStringLiteral("slow"));
        QVERIFY(writeFile(file, QByteArray(20000, 'x')));
        m_engine->ShredFile(file, QStringLiteral("slow"));
        QVERIFY(!exists(file));
        QVERIFY2(yieldsDuringSync > 20, qPrintable(QString::number(yieldsDuringSync)));
        QCOMPARE(slow.patterns.size(), 3); // two patterns, each ended by its own sync
        QCOMPARE(slow.patterns[0].writes.size() + slow.patterns[1].writes.size(), 6);
    }

    void stopDeepInTree()
    {
        const QString root = path(QStringLiteral("tree"));
        const QStringList files = {QStringLiteral("a.txt"),     QStringLiteral("z.txt"),
                                   QStringLiteral("b/c.txt"),   QStringLiteral("b/d/e.txt"),
                                   QStringLiteral("b/d/f.txt"), QStringLiteral("b/g/h.txt")};
        for (const QString& file : files)
            QVERIFY(QDir().mkpath(QFileInfo(root + QLatin1Char('/') + file).path()) &&
                    writeFile(root + QLatin1Char('/') + file, "x"));
        // Cancel is pressed while e.txt is being overwritten.
        m_window.onYield = [this] {
            if (m_window.caption(Caption::lblstatus2) == RunCaption::Shredding &&
                m_window.caption(Caption::lblPrompt).endsWith(QStringLiteral("e.txt")))
                m_window.setCaption(Caption::lblshred, RunCaption::Stopping);
        };
        m_engine->LoadFolders(root);

        for (const QString& gone : {QStringLiteral("a.txt"), QStringLiteral("z.txt"),
                                    QStringLiteral("b/c.txt"), QStringLiteral("b/d/e.txt")})
            QVERIFY2(!exists(root + QLatin1Char('/') + gone), qPrintable(gone));
        QVERIFY(exists(root + QStringLiteral("/b/d/f.txt")));
        QVERIFY(exists(root + QStringLiteral("/b/g/h.txt")));
        QCOMPARE(m_window.caption(Caption::lblstatus), RunCaption::Stopped);
        QCOMPARE(m_window.caption(Caption::lblPrompt), RunCaption::Stopping);
    }

    void linksAreRemovedNotFollowed()
    {
        const QString outside = path(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside) && writeFile(outside + QStringLiteral("/keep"), "keep"));
        const QString tree = path(QStringLiteral("tree"));
        QVERIFY(QDir().mkpath(tree));
        QVERIFY(QFile::link(outside, tree + QStringLiteral("/to-folder")));
        QVERIFY(QFile::link(outside + QStringLiteral("/keep"), tree + QStringLiteral("/to-file")));
        QVERIFY(QFile::link(outside + QStringLiteral("/keep"), path(QStringLiteral("file-link"))));
        QVERIFY(QFile::link(outside, path(QStringLiteral("folder-link"))));

        m_engine->LoadFolders(tree);
        m_engine->ShredFile(path(QStringLiteral("file-link")), QStringLiteral("file-link"));
        m_engine->LoadFolders(path(QStringLiteral("folder-link")));

        QVERIFY(!exists(tree));
        QVERIFY(!exists(path(QStringLiteral("file-link"))));
        QVERIFY(!exists(path(QStringLiteral("folder-link"))));
        QCOMPARE(readFile(outside + QStringLiteral("/keep")), QByteArray("keep"));
        QCOMPARE(m_writer.count, 0);
    }

    void specialFilesAreNeverOpened()
    {
        const QString tree = path(QStringLiteral("tree"));
        QVERIFY(QDir().mkpath(tree) && writeFile(tree + QStringLiteral("/plain"), "plain"));
        QCOMPARE(::mkfifo(QFile::encodeName(tree + QStringLiteral("/fifo")).constData(), 0600), 0);
        QCOMPARE(::mknod(QFile::encodeName(tree + QStringLiteral("/null")).constData(), S_IFCHR | 0600,
                         makedev(1, 3)),
                 0);
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(tree + QStringLiteral("/sock"));
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

        m_engine->LoadFolders(tree); // would hang on opening the FIFO
        ::close(sock);
        // Handed in on its own, as the run does after writing "Shredding" to lblstatus2.
        m_window.setCaption(Caption::lblstatus2, RunCaption::Shredding);
        m_engine->ShredFile(tree + QStringLiteral("/fifo"), QStringLiteral("fifo"));
        QCOMPARE(m_window.caption(Caption::lblstatus2), RunCaption::Done);

        QVERIFY(!exists(tree + QStringLiteral("/plain")));
        QCOMPARE(eventsOf(ShredEvent::Kind::Refused), 4);
        QCOMPARE(eventsOf(ShredEvent::Kind::FolderKept), 1);
        QVERIFY(exists(tree + QStringLiteral("/fifo")));
        QCOMPARE(m_writer.count, 1);
    }

    // A name inside the chosen folder of a file that also lives outside it: only that name goes.
    // When every name is in the run, the content is destroyed once and all names go.
    void hardLinks()
    {
        const QString outside = path(QStringLiteral("outside"));
        const QString tree = path(QStringLiteral("tree"));
        const QByteArray original = seededBytes(3000, 2);
        QVERIFY(QDir().mkpath(tree) && writeFile(outside, original));
        QCOMPARE(::link(QFile::encodeName(outside).constData(),
                        QFile::encodeName(tree + QStringLiteral("/in")).constData()),
                 0);
        m_engine->LoadFolders(tree);
        m_engine->FinishRun();
        QVERIFY(!exists(tree));
        QCOMPARE(readFile(outside), original);
        QCOMPARE(m_writer.count, 0);
        QCOMPARE(eventsOf(ShredEvent::Kind::ContentKept), 1);

        const QString second = path(QStringLiteral("second"));
        QCOMPARE(::link(QFile::encodeName(outside).constData(), QFile::encodeName(second).constData()), 0);
        m_engine->ShredFile(outside, QStringLiteral("outside"));
        m_engine->ShredFile(second, QStringLiteral("second"));
        m_engine->FinishRun();
        QVERIFY(!exists(outside) && !exists(second));
        QCOMPARE(m_writer.count, 1);
        QCOMPARE(eventsOf(ShredEvent::Kind::ContentKept), 1);
    }

    // The kernel's item, not the text's: "dir/." and "link/.." name folders only by the way to
    // them, and the folder above the home folder holds it.
    void placesRefusedByWhatTheyAre()
    {
        const QString dir = path(QStringLiteral("dir"));
        QVERIFY(QDir().mkpath(dir + QStringLiteral("/sub")) && writeFile(dir + QStringLiteral("/f"), "keep"));
        QVERIFY(QFile::link(dir + QStringLiteral("/sub"), path(QStringLiteral("link"))));
        QVERIFY(writeFile(QDir::homePath() + QStringLiteral("/mine"), "keep"));
        m_engine->LoadFolders(dir + QStringLiteral("/."));
        m_engine->LoadFolders(path(QStringLiteral("link/..")));
        m_engine->LoadFolders(QDir::homePath() + QStringLiteral("/.."));
        m_engine->LoadFolders(QDir::homePath() + QStringLiteral("/../"));
        m_engine->ShredFile(dir + QStringLiteral("/f/."), QStringLiteral("."));
        // "name/" names a folder: a file, or a link to one, is not taken for it.
        QVERIFY(QFile::link(dir + QStringLiteral("/f"), path(QStringLiteral("file-link"))));
        m_engine->ShredFile(dir + QStringLiteral("/f/"), QStringLiteral("f"));
        m_engine->ShredFile(path(QStringLiteral("file-link/")), QStringLiteral("file-link"));
        QVERIFY(exists(path(QStringLiteral("file-link"))));
        QCOMPARE(eventsOf(ShredEvent::Kind::Refused), 7);
        QCOMPARE(readFile(dir + QStringLiteral("/f")), QByteArray("keep"));
        QCOMPARE(readFile(QDir::homePath() + QStringLiteral("/mine")), QByteArray("keep"));
        QCOMPARE(m_writer.count, 0);
    }

    // Every one-letter name is taken: the rename takes a longer name instead of failing.
    void renameWhenEveryNameOfTheLengthIsTaken()
    {
        const QString folder = path(QStringLiteral("letters"));
        QVERIFY(QDir().mkpath(folder));
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            QVERIFY(writeFile(folder + QLatin1Char('/') + QLatin1Char(letter), "x"));
        m_engine->ShredFile(folder + QStringLiteral("/A"), QStringLiteral("A"));
        QVERIFY(!exists(folder + QStringLiteral("/A")));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 25);
        QCOMPARE(eventsOf(ShredEvent::Kind::Queued), 0);
    }

    // A name that is not UTF-8 is shredded as itself, and queued as itself when it fails.
    void namesThatAreNotText()
    {
        const QString latin1 = PathBytes::decode(QFile::encodeName(path(QString())) + "caf\xE9.txt");
        const QString lookAlike = path(QStringLiteral("caf\uFFFD.txt"));
        QVERIFY(writeFile(lookAlike, "keep"));
        FileDescriptor file(::open(PathBytes::encode(latin1).constData(), O_CREAT | O_WRONLY, 0600));
        QVERIFY(file.isValid());
        file.reset();
        m_writer.failWith = EIO;
        m_engine->ShredFile(latin1, QStringLiteral("caf\uFFFD.txt"));
        QCOMPARE(PendingDeletions::load(), QStringList{latin1});
        m_writer.failWith = 0;
        ProcessPendingDeletions(*m_engine);
        QVERIFY(!exists(latin1));
        QCOMPARE(readFile(lookAlike), QByteArray("keep"));
        QVERIFY(PendingDeletions::load().isEmpty());
    }

    // Failures are appended to the queue, not written anew each time; a queue that cannot be
    // written is never called "queued".
    void queueIsAppendedTo()
    {
        m_writer.failWith = EIO;
        for (const QString& name : {QStringLiteral("one"), QStringLiteral("two")}) {
            QVERIFY(writeFile(path(name), "x"));
            m_engine->ShredFile(path(name), name);
        }
        struct stat before
        {
        };
        QCOMPARE(::stat(QFile::encodeName(PendingDeletions::queueFile()).constData(), &before), 0);
        QVERIFY(writeFile(path(QStringLiteral("three")), "x"));
        m_engine->ShredFile(path(QStringLiteral("three")), QStringLiteral("three"));
        struct stat after
        {
        };
        QCOMPARE(::stat(QFile::encodeName(PendingDeletions::queueFile()).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(PendingDeletions::load().size(), 3);

        QVERIFY(QFile::remove(PendingDeletions::queueFile()) && QDir().mkpath(PendingDeletions::queueFile()));
        m_engine->ShredFile(path(QStringLiteral("one")), QStringLiteral("one"));
        QVERIFY(QDir().rmdir(PendingDeletions::queueFile()));
        QCOMPARE(eventsOf(ShredEvent::Kind::Queued), 3);
        QCOMPARE(eventsOf(ShredEvent::Kind::Failed), 1);
    }

    // A folder its owner may write in but not read (mode -wx) cannot be opened to be synced;
    // the rename and the removal in it must reach the disk all the same.
    void folderWithoutReadPermissionIsSynced()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, to act as another user");
        constexpr uid_t Nobody = 65534;
        const QString folder = path(QStringLiteral("wx"));
        QVERIFY(QDir().mkpath(folder) && writeFile(folder + QStringLiteral("/f"), "x"));
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
        for (const QString& item : {folder, folder + QStringLiteral("/f")})
            QCOMPARE(::chown(QFile::encodeName(item).constData(), Nobody, Nobody), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0300), 0);
        // The file-system identity of this thread only: root's capabilities are gone with it.
        ::setfsgid(Nobody);
        ::setfsuid(Nobody);
        m_engine->ShredFile(folder + QStringLiteral("/f"), QStringLiteral("f"));
        ::setfsuid(0);
        ::setfsgid(0);
        QVERIFY(!exists(folder + QStringLiteral("/f")));
        QVERIFY(m_events.isEmpty());
        QVERIFY(!m_writer.folderSyncs.isEmpty());
        QCOMPARE(m_writer.folderSyncs, QList<int>(m_writer.folderSyncs.size(), 0));
    }

    // A subfolder this user cannot enter is kept, and the walk goes on with the rest of the tree.
    void folderThatCannotBeEnteredEndsOnlyItself()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, to act as another user");
        constexpr uid_t Nobody = 65534;
        const QString top = path(QStringLiteral("top"));
        QVERIFY(QDir().mkpath(top + QStringLiteral("/a")) && QDir().mkpath(top + QStringLiteral("/b")) &&
                QDir().mkpath(top + QStringLiteral("/c")));
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
        for (const QString& name : {QStringLiteral("a/f1"), QStringLiteral("b/f2"), QStringLiteral("c/f3")})
            QVERIFY(writeFile(top + QLatin1Char('/') + name, "x"));
        for (const QString& item :
             {QString(), QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"),
              QStringLiteral("/a/f1"), QStringLiteral("/b/f2"), QStringLiteral("/c/f3")})
            QCOMPARE(::chown(QFile::encodeName(top + item).constData(), Nobody, Nobody), 0);
        QCOMPARE(::chmod(QFile::encodeName(top + QStringLiteral("/b")).constData(), 0600), 0);
        ::setfsgid(Nobody);
        ::setfsuid(Nobody);
        m_engine->LoadFolders(top);
        ::setfsuid(0);
        ::setfsgid(0);
        QVERIFY(!exists(top + QStringLiteral("/a")) && !exists(top + QStringLiteral("/c")));
        QVERIFY(exists(top + QStringLiteral("/b/f2")));
        QCOMPARE(eventsOf(ShredEvent::Kind::FolderKept), 2); // b, and top that still holds it
    }

    // A failing file whose name is swapped for another file before it is queued: the other
    // file is not queued. A file reached through a linked folder is queued where it really is.
    void queuedOnlyAsTheCheckedFile()
    {
        const QString swapped = path(QStringLiteral("victim"));
        const QString theirs = path(QStringLiteral("theirs"));
        QVERIFY(writeFile(swapped, "chosen") && writeFile(theirs, "not chosen"));
        m_writer.failWith = EIO;
        // Once the passes have begun on the checked file, the neighbour swaps the name.
        m_window.onYield = [&] {
            if (m_window.max[0] > 0 && exists(theirs))
                ::rename(QFile::encodeName(theirs).constData(), QFile::encodeName(swapped).constData());
        };
        m_engine->ShredFile(swapped, QStringLiteral("victim"));
        m_window.onYield = nullptr;
        QCOMPARE(readFile(swapped), QByteArray("not chosen"));
        QCOMPARE(PendingDeletions::load(), QStringList());
        QCOMPARE(eventsOf(ShredEvent::Kind::Failed), 1);

        QVERIFY(QDir().mkpath(path(QStringLiteral("real"))) &&
                writeFile(path(QStringLiteral("real/f")), "x"));
        QVERIFY(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("via"))));
        m_engine->ShredFile(path(QStringLiteral("via/f")), QStringLiteral("f"));
        QCOMPARE(PendingDeletions::load(),
                 QStringList{QFileInfo(path(QStringLiteral("real/f"))).canonicalFilePath()});
    }

    // Each level of a walk holds one descriptor: a tree deeper than the descriptors the process
    // may open is still shredded whole.
    void treeDeeperThanTheDescriptorLimit()
    {
        QString deep = path(QStringLiteral("deep"));
        const QString top = deep;
        for (int level = 0; level < 150; ++level)
            deep += QStringLiteral("/d");
        QVERIFY(QDir().mkpath(deep) && writeFile(deep + QStringLiteral("/f"), "x"));
        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
        rlimit low = old;
        low.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        m_engine->LoadFolders(top);
        ::setrlimit(RLIMIT_NOFILE, &old);
        QVERIFY(!exists(top));
        QVERIFY(m_events.isEmpty());
    }

    void oddNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << " lead and trail ";
        QTest::newRow("newline") << "two\nlines";
        QTest::newRow("quotes") << "it's \"quoted\"";
        QTest::newRow("semicolon") << "a;b";
        QTest::newRow("non-ASCII") << QStringLiteral("ünïcødé ✓");
        QTest::newRow("255 bytes") << QString(251, QLatin1Char('n')) + QStringLiteral(".txt");
    }
    void oddNames()
    {
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(path(QStringLiteral("odd"))));
        QVERIFY(writeFile(path(QStringLiteral("odd/")) + name, "x"));
        QVERIFY(writeFile(path(name), "x"));
        m_engine->ShredFile(path(name), name);
        m_engine->LoadFolders(path(QStringLiteral("odd")));
        QVERIFY(!exists(path(name)));
        QVERIFY(!exists(path(QStringLiteral("odd"))));
        QVERIFY(m_events.isEmpty());
    }

    void pathLongerThanPathMax()
    {
        const QString component(240, QLatin1Char('d'));
        const QString deep = TestFiles::makeDeepFolder(m_dir->path());
        QVERIFY(deep.size() > 4000);

        m_engine->ShredFile(deep + QStringLiteral("/last"), QStringLiteral("last"));
        QCOMPARE(m_writer.count, 1);
        QVERIFY(m_events.isEmpty());
        m_engine->LoadFolders(path(component));
        QVERIFY(!exists(path(component)));
    }

    // Offsets past 4 GiB, and holes passed over: only the blocks that hold data are written.
    void sparseFileOver4GiB()
    {
        const QString file = path(QStringLiteral("sparse"));
        const qint64 length = (qint64(1) << 32) + 5000;
        QFile sparse(file);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write("head") == 4 && sparse.seek(length - 4) &&
                sparse.write("tail") == 4);
        sparse.close();
        m_writer.forward = false;
        m_writer.keepData = false;
        m_engine->ShredFile(file, QStringLiteral("sparse"));
        QVERIFY(!exists(file));
        QCOMPARE(m_writer.count, 3);
        QCOMPARE(m_writer.lastOffset, qint64(524289) * 8192);
        QCOMPARE(m_window.max[0], 524290);
        QCOMPARE(m_window.highestValue, 524290);
    }

    // A write that fails is tried again at the next start; a disk that is full inside the old
    // content would fail again at every start, so it ends the file with a report instead.
    void failedWrite_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("queued");
        QTest::newRow("input/output error") << EIO << true;
        QTest::newRow("disk full") << ENOSPC << false;
    }
    void failedWrite()
    {
        QFETCH(int, error);
        QFETCH(bool, queued);
        const QString file = path(QStringLiteral("locked"));
        QVERIFY(writeFile(file, "original"));
        m_writer.failWith = error;
        m_engine->ShredFile(file, QStringLiteral("locked"));
        QCOMPARE(readFile(file), QByteArray("original"));
        QCOMPARE(Shared().LockedFilesFound, queued);
        QCOMPARE(PendingDeletions::load(), queued ? QStringList{file} : QStringList());
        QCOMPARE(eventsOf(queued ? ShredEvent::Kind::Queued : ShredEvent::Kind::Failed), 1);
        QCOMPARE(m_window.caption(Caption::lblstatus2), RunCaption::Done);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestShredEngine)
#include "tst_shredengine.moc"
