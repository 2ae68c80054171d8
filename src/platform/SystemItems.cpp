#include "SystemItems.h"

#include "FileDescriptor.h"
#include "ParentFolder.h"
#include "PathBytes.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QList>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

namespace {
const char* const OperatingSystemFolders[] = {"bin",  "boot", "dev", "etc", "opt", "proc", "run",
                                              "sbin", "snap", "srv", "sys", "usr", "var"};
// Far more folders than any real path has; a loop of ".." can then not hold the test.
constexpr int MaxDepth = 65536;

struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool valid = false;

    static Identity of(const struct stat& info) { return {info.st_dev, info.st_ino, true}; }
    bool is(const struct stat& info) const { return valid && info.st_dev == device && info.st_ino == inode; }
};

bool isAny(const QList<Identity>& identities, const struct stat& info)
{
    return std::any_of(identities.begin(), identities.end(), [&](const Identity& i) { return i.is(info); });
}

// The places the test protects, as they are on the disk at this moment (a folder mounted
// over /opt since the last test is another inode, so nothing is kept between two tests).
struct SystemPlaces
{
    Identity root;
    Identity varTmp;
    QList<Identity> operatingSystem;
    Identity home;
    QList<Identity> homeHolders;

    static SystemPlaces now()
    {
        SystemPlaces places;
        const FileDescriptor rootFd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat info
        {
        };
        if (::fstat(rootFd.get(), &info) == 0)
            places.root = Identity::of(info);
        for (const QByteArray& name : operatingSystemNames(rootFd.get()))
            if (::fstatat(rootFd.get(), name.constData(), &info, 0) == 0)
                places.operatingSystem.append(Identity::of(info));
        if (::fstatat(rootFd.get(), "var/tmp", &info, 0) == 0)
            places.varTmp = Identity::of(info);
        places.findHome();
        return places;
    }

    // The fixed names and every "lib..." folder of the root (lib32, lib64, libx32 ...).
    static QList<QByteArray> operatingSystemNames(int rootFd)
    {
        QList<QByteArray> names;
        for (const char* name : OperatingSystemFolders)
            names.append(name);
        DIR* dir = ::fdopendir(::openat(rootFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        while (dir) {
            const dirent* entry = ::readdir(dir);
            if (!entry)
                break;
            if (qstrncmp(entry->d_name, "lib", 3) == 0)
                names.append(entry->d_name);
        }
        if (dir)
            ::closedir(dir);
        return names;
    }

    void findHome()
    {
        const QByteArray path = PathBytes::encode(QDir::homePath());
        FileDescriptor folder(::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat info
        {
        };
        if (!folder.isValid() || ::fstat(folder.get(), &info) != 0)
            return;
        home = Identity::of(info);
        for (int depth = 0; depth < MaxDepth && !root.is(info); ++depth) {
            folder.reset(::openat(folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!folder.isValid() || ::fstat(folder.get(), &info) != 0)
                return;
            homeHolders.append(Identity::of(info));
        }
    }

    QString reasonForFolder(const struct stat& info) const
    {
        if (root.is(info))
            return QStringLiteral("the root folder");
        if (home.is(info))
            return QStringLiteral("the home folder");
        if (isAny(homeHolders, info))
            return QStringLiteral("a folder that holds the home folder");
        if (isAny(operatingSystem, info))
            return QStringLiteral("the system's own folder");
        return {};
    }

    // A folder's place is judged once while these places hold: a large drop from one folder
    // then walks up from it once, not once per item. Only the system's administrator can move
    // a folder into or out of the system's own folders.
    QString reasonForPlace(int folderFd) const
    {
        struct stat info
        {
        };
        if (::fstat(folderFd, &info) != 0)
            return QStringLiteral("a place that cannot be checked");
        const QPair<quint64, quint64> folder(info.st_dev, info.st_ino);
        if (const auto known = judgedFolders.constFind(folder); known != judgedFolders.cend())
            return *known;
        const QString reason = walkUp(folderFd, info);
        judgedFolders.insert(folder, reason);
        return reason;
    }

    // Goes up from the folder through "..", which the kernel answers from what is open, so the
    // folders met are where the item really is.
    QString walkUp(int folderFd, struct stat info) const
    {
        // What lies right in the root (/lib64, /vmlinuz, /tmp ...) belongs to the system.
        if (root.is(info))
            return QStringLiteral("the system's own folder");
        FileDescriptor folder(::openat(folderFd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
        for (int depth = 0; depth < MaxDepth; ++depth) {
            if (!folder.isValid() || ::fstat(folder.get(), &info) != 0)
                return QStringLiteral("a place that cannot be checked");
            // Inside the home folder is the user's, wherever the home folder lies (/var/home ...).
            if (varTmp.is(info) || root.is(info) || home.is(info))
                return {};
            if (isAny(operatingSystem, info))
                return QStringLiteral("inside the system's own folders");
            folder.reset(::openat(folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        }
        return QStringLiteral("a place that cannot be checked");
    }

    mutable QHash<QPair<quint64, quint64>, QString> judgedFolders;
};

// The places change only when the system's administrator mounts, unmounts or renames them,
// which no neighbour of the same user can do. They are looked up again after a second, at once
// when the mount table of this process changes (/proc/self/mountinfo then signals POLLPRI), when
// the process enters another mount namespace and when the home folder changes; a burst of
// thousands of items then costs one look-up instead of thousands.
const SystemPlaces& currentPlaces()
{
    struct Cache
    {
        SystemPlaces places;
        QElapsedTimer age;
        QString home;
        ino_t mountNamespace = 0;
        FileDescriptor mountTable{::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)};
    };
    thread_local Cache cache;
    struct stat namespaceInfo
    {
    };
    const ino_t mountNamespace = ::stat("/proc/self/ns/mnt", &namespaceInfo) == 0 ? namespaceInfo.st_ino : 0;
    pollfd changes{cache.mountTable.get(), POLLPRI, 0};
    const bool mountsChanged = !cache.mountTable.isValid() || ::poll(&changes, 1, 0) != 0;
    const QString home = QDir::homePath();
    if (mountsChanged || !cache.age.isValid() || cache.age.hasExpired(1000) || home != cache.home ||
        mountNamespace != cache.mountNamespace || mountNamespace == 0) {
        if (mountNamespace != cache.mountNamespace)
            cache.mountTable.reset(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC));
        cache.places = SystemPlaces::now();
        cache.age.start();
        cache.home = home;
        cache.mountNamespace = mountNamespace;
    }
    return cache.places;
}

QString reasonForType(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (!S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode))
        return QStringLiteral("not a file, folder or link");
    return {};
}

// The kernel says so when it can (bind mounts of the same file system included); older
// kernels are asked through the devices and the mount ids.
bool isMountPoint(int folderFd, const QByteArray& name, const struct stat& item)
{
    struct statx extended
    {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
    if (::statx(folderFd, name.constData(), flags, STATX_BASIC_STATS, &extended) == 0 &&
        (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT))
        return extended.stx_attributes & STATX_ATTR_MOUNT_ROOT;
    struct stat folder
    {
    };
    if (::fstat(folderFd, &folder) == 0 && folder.st_dev != item.st_dev)
        return true;
    struct statx folderMount
    {
    };
    struct statx itemMount
    {
    };
    return ::statx(folderFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &folderMount) == 0 &&
           ::statx(folderFd, name.constData(), flags, STATX_MNT_ID, &itemMount) == 0 &&
           (folderMount.stx_mask & itemMount.stx_mask & STATX_MNT_ID) &&
           folderMount.stx_mnt_id != itemMount.stx_mnt_id;
}

bool isInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}
} // namespace

QString SystemItemReason(int folderFd, const QByteArray& name)
{
    const SystemPlaces& places = currentPlaces();
    struct stat item
    {
    };
    if (::fstatat(folderFd, name.constData(), &item, AT_SYMLINK_NOFOLLOW) == 0) {
        QString reason = reasonForType(item.st_mode);
        if (reason.isEmpty() && isMountPoint(folderFd, name, item))
            reason = QStringLiteral("a mount point");
        if (reason.isEmpty() && S_ISDIR(item.st_mode))
            reason = places.reasonForFolder(item);
        if (!reason.isEmpty())
            return reason;
    }
    return places.reasonForPlace(folderFd);
}

QString SystemItemReason(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("an empty path");
    const ParentFolder parent = ParentFolder::open(path, true);
    if (parent.error() == ParentFolder::DotName)
        return path.endsWith(QLatin1Char('/')) && QDir::cleanPath(path) == QLatin1String("/")
                   ? QStringLiteral("the root folder")
                   : QStringLiteral("a path ending in \".\" or \"..\"");
    if (!parent.isOpen()) {
        // Nothing there to shred; only its place can be judged.
        const QString absolute =
            QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
        return IsSystemPlace(absolute) ? QStringLiteral("the system's own folder") : QString();
    }
    return SystemItemReason(parent.fd(), parent.name());
}

bool IsSystemItem(const QString& path)
{
    return !SystemItemReason(path).isEmpty();
}

bool IsSystemPlace(const QString& absolutePath)
{
    const QString path = QDir::cleanPath(absolutePath);
    if (path == QLatin1String("/") || path.isEmpty())
        return true;
    const QString home = QDir::cleanPath(QDir::homePath());
    if (isInside(home, path))
        return true;
    const QString top = path.section(QLatin1Char('/'), 1, 1);
    if (top.startsWith(QLatin1String("lib")))
        return true;
    for (const char* folder : OperatingSystemFolders)
        if (top == QLatin1String(folder))
            return !isInside(path, QStringLiteral("/var/tmp"));
    return false;
}

bool IsStartMenuFolder(const QString& path)
{
    const QString menu = Registry::ReadValue(Registry::Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey,
                                             QStringLiteral("Start Menu"), QString())
                             .toString();
    return !menu.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(menu);
}
