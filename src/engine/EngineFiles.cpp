#include "EngineFiles.h"

#include "common/LogError.h"
#include "platform/ParentFolder.h"
#include "platform/PathBytes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The mount an item belongs to, 0 where the kernel cannot say. A folder bind-mounted from the
// same file system has the same device number as its surroundings; only this tells it apart.
quint64 mountIdOf(int folderFd, const char* name)
{
    struct statx info
    {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | (*name ? 0 : AT_EMPTY_PATH);
    if (::statx(folderFd, name, flags, STATX_TYPE | STATX_MNT_ID, &info) != 0 ||
        !(info.stx_mask & STATX_MNT_ID))
        return 0;
    return info.stx_mnt_id;
}
} // namespace

QString EngineFiles::errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

long EngineFiles::errorNumber(int error)
{
    switch (error) {
    case ENOENT:
        return ErrorNumber::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    default:
        return ErrorNumber::PathFileAccessError;
    }
}

QString EngineFiles::unreachableReason(int error)
{
    switch (error) {
    case 0:
        return {};
    case ParentFolder::DotName:
        return QStringLiteral("a path ending in \".\" or \"..\" (name the folder itself)");
    case ENOENT:
        return QStringLiteral("missing");
    case ENOTDIR:
        return QStringLiteral("a name on the way is not a folder");
    case ELOOP:
        return QStringLiteral("too many symbolic links on the way");
    case ENAMETOOLONG:
        return QStringLiteral("the path is longer than the system allows");
    default:
        return {};
    }
}

QString EngineFiles::kindOf(mode_t type)
{
    switch (type & S_IFMT) {
    case S_IFIFO:
        return QStringLiteral("a FIFO");
    case S_IFSOCK:
        return QStringLiteral("a socket");
    case S_IFCHR:
    case S_IFBLK:
        return QStringLiteral("a device");
    case S_IFDIR:
        return QStringLiteral("a folder");
    default:
        return QStringLiteral("not a regular file, folder or link");
    }
}

QString EngineFiles::childPath(const QString& folder, const QByteArray& name)
{
    return folder + QLatin1Char('/') + PathBytes::decode(name);
}

QString EngineFiles::siblingPath(const QString& path, const QByteArray& name)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + PathBytes::decode(name);
}

QString EngineFiles::realPath(int folderFd, const QByteArray& name, const QString& fallback)
{
    QByteArray folder(PATH_MAX, Qt::Uninitialized);
    const QByteArray link = QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(folderFd);
    const ssize_t length = ::readlink(link.constData(), folder.data(), folder.size());
    if (length <= 0 || length >= folder.size() || folder.at(0) != '/')
        return fallback;
    folder.truncate(length);
    return PathBytes::decode(folder == "/" ? "/" + name : folder + '/' + name);
}

bool EngineFiles::isSameItem(int folderFd, const QByteArray& name, const struct stat& info)
{
    struct stat now
    {
    };
    return ::fstatat(folderFd, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == info.st_dev && now.st_ino == info.st_ino;
}

int EngineFiles::renameNoReplace(int folderFd, const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(folderFd, from.constData(), folderFd, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: test first; nothing else renames in this folder.
    struct stat existing
    {
    };
    if (::fstatat(folderFd, to.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(folderFd, from.constData(), folderFd, to.constData()) == 0 ? 0 : errno;
}

bool EngineFiles::isLockedByFlag(int folderFd, const QByteArray& name)
{
    const auto flagged = [](int fd) {
        int flags = 0;
        return fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
               (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL));
    };
    const int file = ::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const int folder = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool locked = flagged(file) || flagged(folder);
    for (const int fd : {file, folder})
        if (fd >= 0)
            ::close(fd);
    return locked;
}

bool EngineFiles::isOtherMount(int folderFd, const char* name, dev_t device)
{
    struct stat folder
    {
    };
    if (::fstat(folderFd, &folder) == 0 && folder.st_dev != device)
        return true;
    const quint64 folderMount = mountIdOf(folderFd, "");
    const quint64 itemMount = mountIdOf(folderFd, name);
    return folderMount != 0 && itemMount != 0 && folderMount != itemMount;
}

QList<EngineFiles::Entry> EngineFiles::listFolder(int folderFd, int* error)
{
    QList<Entry> entries;
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd < 0 ? nullptr : ::fdopendir(listFd);
    if (!dir) {
        *error = errno;
        if (listFd >= 0)
            ::close(listFd);
        return entries;
    }
    while (const dirent* item = ::readdir(dir)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0)
            continue;
        struct stat info
        {
        };
        if (::fstatat(folderFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        entries.append({QByteArray(item->d_name), static_cast<mode_t>(info.st_mode & S_IFMT),
                        isOtherMount(folderFd, item->d_name, info.st_dev)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    *error = 0;
    return entries;
}
