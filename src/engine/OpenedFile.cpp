#include "OpenedFile.h"

#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

QByteArray procPath(int fd)
{
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
}

// The owner read and write bits play the part of the "normal" attribute. Set through the
// checked descriptor; where /proc is missing, through the descriptor itself (newer kernels).
// True when the mode was changed.
bool makeOwnerReadWrite(int pathFd, const struct stat& info)
{
    if ((info.st_mode & (S_IRUSR | S_IWUSR)) == (S_IRUSR | S_IWUSR))
        return false;
    const mode_t mode = (info.st_mode & 07777) | S_IRUSR | S_IWUSR;
    if (::chmod(procPath(pathFd).constData(), mode) == 0)
        return true;
    return errno == ENOENT && ::fchmodat(pathFd, "", mode, AT_EMPTY_PATH) == 0;
}

// A broken lease is told with SIGIO, whose default action ends the process; the engine asks
// for the lease state instead.
void ignoreLeaseSignal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current
        {
        };
        if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::signal(SIGIO, SIG_IGN);
    });
}
} // namespace

int OpenedFile::open(int folderFd, const QByteArray& name, const struct stat& listed)
{
    const FileDescriptor path(::openat(folderFd, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!path.isValid())
        return errno;
    struct stat checked
    {
    };
    if (::fstat(path.get(), &checked) != 0)
        return errno;
    if (!sameFile(checked, listed) || !S_ISREG(checked.st_mode))
        return ESTALE;
    m_originalMode = checked.st_mode & 07777;
    m_modeChanged = makeOwnerReadWrite(path.get(), checked);
    const int flags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    m_file.reset(::open(procPath(path.get()).constData(), flags));
    if (!m_file.isValid() && errno == ENOENT) // no /proc: the name again, checked below
        m_file.reset(::openat(folderFd, name.constData(), flags | O_NOFOLLOW));
    if (!m_file.isValid())
        return errno;
    if (::fstat(m_file.get(), &m_info) != 0)
        return errno;
    return sameFile(m_info, listed) ? 0 : ESTALE;
}

void OpenedFile::restoreMode()
{
    if (m_modeChanged && m_file.isValid())
        ::fchmod(m_file.get(), m_originalMode);
    m_modeChanged = false;
}

int OpenedFile::takeLease()
{
    ignoreLeaseSignal();
    if (::fcntl(m_file.get(), F_SETLEASE, F_WRLCK) == 0) {
        m_leased = true;
        return 0;
    }
    // EAGAIN: another descriptor is open on the file. EINVAL, ENOLCK, EACCES: this file
    // system, or this user, has no leases; the shred goes on without one.
    return errno == EAGAIN ? EBUSY : 0;
}

bool OpenedFile::leaseBroken()
{
    if (!m_leased || ::fcntl(m_file.get(), F_GETLEASE) == F_WRLCK)
        return false;
    ::fcntl(m_file.get(), F_SETLEASE, F_UNLCK);
    m_leased = false;
    return true;
}

QList<DataRange> OpenedFile::dataRanges() const
{
    QList<DataRange> ranges;
    const qint64 size = m_info.st_size;
    // As many blocks as bytes: no hole to look for.
    if (qint64(m_info.st_blocks) * 512 >= size) {
        if (size > 0)
            ranges.append({0, size});
        return ranges;
    }
    for (qint64 at = 0; at < size;) {
        const off_t data = ::lseek(m_file.get(), at, SEEK_DATA);
        if (data < 0) {
            // ENXIO: only a hole is left. Anything else: the file system cannot tell.
            if (errno != ENXIO)
                ranges = {{0, size}};
            break;
        }
        const off_t hole = ::lseek(m_file.get(), data, SEEK_HOLE);
        const qint64 end = hole < 0 ? size : qMin<qint64>(hole, size);
        ranges.append({data, end});
        at = end;
    }
    return ranges;
}

QString OpenedFile::sharedBlocksReason() const
{
    // Enough extents for any file but one in pieces; a file with more is asked again from
    // where the answer stopped.
    constexpr quint32 Extents = 64;
    alignas(fiemap) char buffer[sizeof(fiemap) + Extents * sizeof(fiemap_extent)] = {};
    auto* map = reinterpret_cast<fiemap*>(buffer);
    for (quint64 start = 0;;) {
        *map = fiemap{};
        map->fm_start = start;
        map->fm_length = FIEMAP_MAX_OFFSET - start;
        map->fm_extent_count = Extents;
        if (::ioctl(m_file.get(), FS_IOC_FIEMAP, map) != 0 || map->fm_mapped_extents == 0)
            return {};
        for (quint32 i = 0; i < map->fm_mapped_extents; ++i) {
            const fiemap_extent& extent = map->fm_extents[i];
            if (extent.fe_flags & FIEMAP_EXTENT_SHARED)
                return QStringLiteral("its blocks are shared with another file or a snapshot");
            if (extent.fe_flags & FIEMAP_EXTENT_LAST)
                return {};
            start = extent.fe_logical + extent.fe_length;
        }
    }
}

bool OpenedFile::writesInPlace() const
{
    int flags = 0;
    return ::ioctl(m_file.get(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_NOCOW_FL);
}
