#include "TestEnvironment.h"
#include "platform/SystemItems.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// "@" in a row's path stands for the test's temporary folder, "~" for the home folder.
class TestSystemItems : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir{u"/tmp/vanisto-sys-XXXXXX"_s};
    QStringList m_mounts;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    void mount(const QString& name, const char* source, const char* type, unsigned long flags)
    {
        QDir().mkpath(at(name));
        const QByteArray source8 = source ? QByteArray(source) : QFile::encodeName(at(name));
        QVERIFY2(
            ::mount(source8.constData(), QFile::encodeName(at(name)).constData(), type, flags, nullptr) == 0,
            "mounting needs root");
        m_mounts.prepend(at(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir().mkpath(at(u"d"_s));
        QVERIFY(QFile(at(u"f"_s)).open(QIODevice::WriteOnly));
        QCOMPARE(::mkfifo(QFile::encodeName(at(u"fifo"_s)).constData(), 0600), 0);
        QCOMPARE(::mknod(QFile::encodeName(at(u"sock"_s)).constData(), S_IFSOCK | 0600, 0), 0);
        QVERIFY(QFile::link(u"/etc"_s, at(u"etclink"_s)));
        QVERIFY(QFile::link(at(u"d"_s), at(u"dlink"_s)));
        QVERIFY(QFile::link(u"/usr/share"_s, at(u"sharelink"_s)));
        QVERIFY(QFile::link(u"/etc/passwd"_s, at(u"passwdlink"_s)));
        mount(u"tmpfs"_s, "tmpfs", "tmpfs", 0);
        QVERIFY(QFile(at(u"tmpfs/inside"_s)).open(QIODevice::WriteOnly));
        // A folder bound onto itself stays on the same device: only the kernel knows.
        mount(u"bound"_s, nullptr, nullptr, MS_BIND);
        QDir::setCurrent(m_dir.path());
    }

    void cleanupTestCase()
    {
        QDir::setCurrent(u"/"_s);
        for (const QString& point : std::as_const(m_mounts))
            QCOMPARE(::umount2(QFile::encodeName(point).constData(), MNT_DETACH), 0);
    }

    void refusal_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("refused");
        QTest::newRow("root") << "/" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("system file") << "/etc/passwd" << true;
        QTest::newRow("device") << "/dev/null" << true;
        QTest::newRow("/var/log") << "/var/log" << true;
        QTest::newRow("/var/tmp") << "/var/tmp/vanisto-nothing-here" << false;
        QTest::newRow("library folder") << "/usr/lib" << true;
        QTest::newRow("missing, in a system folder") << "/srv/nothing/here" << true;
        QTest::newRow("home") << "~" << true;
        QTest::newRow("home with slash") << "~/" << true;
        QTest::newRow("in home") << "~/notes.txt" << false;
        QTest::newRow("the folder above home") << "~/.." << true;
        QTest::newRow("a folder that holds home") << "~/../.." << true;
        QTest::newRow("right in the root") << "/lib64" << true;
        QTest::newRow("a folder by its dot") << "@/d/." << true;
        QTest::newRow("dot-dot after a link to a folder") << "@/dlink/.." << true;
        QTest::newRow("file") << "@/f" << false;
        QTest::newRow("folder") << "@/d/" << false;
        QTest::newRow("FIFO") << "@/fifo" << true;
        QTest::newRow("socket") << "@/sock" << true;
        QTest::newRow("link on the way to /etc") << "@/etclink/passwd" << true;
        QTest::newRow("relative, link on the way") << "etclink/hostname" << true;
        QTest::newRow("dot-dot after a link") << "@/sharelink/../bin" << true;
        QTest::newRow("dot-dot, lexically") << "@/d/../../../etc/passwd" << true;
        QTest::newRow("trailing slash follows the link") << "@/etclink/" << true;
        QTest::newRow("the link itself") << "@/etclink" << false;
        QTest::newRow("link to a system file") << "@/passwdlink" << false;
        QTest::newRow("mount point") << "@/tmpfs" << true;
        QTest::newRow("mount point with slash") << "@/tmpfs/" << true;
        QTest::newRow("inside a mount") << "@/tmpfs/inside" << false;
        QTest::newRow("bind mount, same device") << "@/bound" << true;
    }

    void refusal()
    {
        QFETCH(QString, path);
        QFETCH(bool, refused);
        if (path.startsWith(QLatin1Char('~')))
            path.replace(0, 1, QDir::homePath());
        path.replace(QLatin1Char('@'), m_dir.path());
        QCOMPARE(IsSystemItem(path), refused);
    }

    // A system folder mounted a moment after a test counts at once (in a mount namespace of our own).
    void systemFolderMountedMeanwhile()
    {
        // The mounts of this test go first: a namespace of our own could not take them down.
        for (const QString& point : std::as_const(m_mounts))
            QCOMPARE(::umount2(QFile::encodeName(point).constData(), MNT_DETACH), 0);
        m_mounts.clear();
        QCOMPARE(::unshare(CLONE_NEWNS), 0);
        QCOMPARE(::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
        QVERIFY(IsSystemItem(u"/srv/nothing"_s));
        QCOMPARE(::mount("tmpfs", "/srv", "tmpfs", 0, nullptr), 0);
        QVERIFY(QFile(u"/srv/file"_s).open(QIODevice::WriteOnly));
        QCOMPARE(SystemItemReason(u"/srv/file"_s), u"inside the system's own folders"_s);
        QCOMPARE(::umount2("/srv", MNT_DETACH), 0);
    }

    // A home inside a system folder (/var/home/...): what it holds is the user's, it and above are not.
    void homeInsideASystemFolder()
    {
        QTemporaryDir system(u"/var/lib/vanisto-test-XXXXXX"_s);
        QVERIFY(QDir().mkpath(system.filePath(u"home/docs"_s)));
        const QByteArray previous = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(system.filePath(u"home"_s)));
        const bool docs = IsSystemItem(system.filePath(u"home/docs"_s));
        const bool home = IsSystemItem(system.filePath(u"home"_s));
        qputenv("HOME", previous);
        QVERIFY(!docs && home);
    }

    void startMenuFolder()
    {
        const QString menu = TestEnvironment::dataHome() + u"/applications"_s;
        QVERIFY(IsStartMenuFolder(menu));
        QVERIFY(IsStartMenuFolder(menu + u"/./"_s));
        QVERIFY(!IsStartMenuFolder(menu + u"/vanisto.desktop"_s));
        QVERIFY(!IsStartMenuFolder(menu.toUpper()));
        QVERIFY(!IsStartMenuFolder(TestEnvironment::dataHome()));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSystemItems)
#include "tst_systemitems.moc"
