#include "EngineTestKit.h"

#include <atomic>
#include <sched.h>
#include <sys/mount.h>
#include <thread>

// A neighbour swaps names under the engine's feet: nothing outside what was chosen is ever touched.
// Exchanges two names in a folder, atomically and as often as it can, until stopped.
class Swapper
{
public:
    Swapper(const QString& folder, const char* a, const char* b)
        : m_folder(::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)),
          m_thread([this, a, b] {
              while (!m_stop)
                  ::renameat2(m_folder, a, m_folder, b, RENAME_EXCHANGE);
          })
    {}
    ~Swapper()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_folder);
    }

private:
    int m_folder;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class TestEngineRaces : public QObject, EngineRig
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(resetEngine(false)); }

    // The checked file's mode is fixed while its name keeps turning into a link to a file outside.
    void modeFixUpStaysOnTheCheckedFile()
    {
        const QString outside = path(u"outside"_s);
        QVERIFY(writeFile(outside, "outside") && ::chmod(QFile::encodeName(outside).constData(), 0444) == 0);
        const QString folder = path(u"race"_s);
        for (int attempt = 0; attempt < 300; ++attempt) {
            QDir(folder).removeRecursively();
            QVERIFY(QDir().mkpath(folder) && writeFile(folder + u"/victim"_s, "chosen"));
            QCOMPARE(::chmod(QFile::encodeName(folder + u"/victim"_s).constData(), 0400), 0);
            QVERIFY(QFile::link(outside, folder + u"/spare"_s));
            {
                const Swapper swapper(folder, "victim", "spare");
                m_engine->ShredFile(folder + u"/victim"_s, u"victim"_s);
            }
            QCOMPARE(TestFiles::modeOf(outside), mode_t(0444));
            QCOMPARE(readFile(outside), QByteArray("outside"));
        }
    }

    // A folder on the way keeps turning into a link to /srv (a tmpfs in a mount namespace of our own).
    void folderSwappedForALinkIntoTheSystem()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, for a private mount namespace with a system folder of its own");
        QCOMPARE(::unshare(CLONE_NEWNS), 0);
        QCOMPARE(::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
        QCOMPARE(::mount("tmpfs", "/srv", "tmpfs", 0, nullptr), 0);
        const QString system = u"/srv/secret"_s;
        QVERIFY(writeFile(system, "system"));

        QVERIFY(QDir().mkpath(path(u"parent"_s)));
        QVERIFY(QFile::link(u"/srv"_s, path(u"spare"_s)));
        for (int attempt = 0; attempt < 200; ++attempt) {
            const QString real = path(QFileInfo(path(u"parent"_s)).isSymLink() ? u"spare"_s : u"parent"_s);
            if (!exists(real + u"/secret"_s))
                QVERIFY(writeFile(real + u"/secret"_s, "chosen"));
            {
                const Swapper swapper(m_dir->path(), "parent", "spare");
                m_engine->ShredFile(path(u"parent/secret"_s), u"secret"_s);
            }
            QCOMPARE(readFile(system), QByteArray("system"));
        }
        QVERIFY2(eventsOf(ShredEvent::Kind::Refused) > 0, "the swap never landed: the race was not run");
        QCOMPARE(::umount2("/srv", MNT_DETACH), 0);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestEngineRaces)
#include "tst_engineraces.moc"
