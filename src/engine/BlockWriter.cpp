#include "BlockWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A virtual or cached disk may hold everything written since the last flush and write it all
// when the flush finally comes: a gigabyte made the pattern's final sync take a third of a
// second. Flushing every 16 MiB keeps each sync to a few tens of milliseconds.
constexpr qint64 SyncEvery = 16 * 1024 * 1024;

int dataSync(int fd)
{
    int result = ::fdatasync(fd);
    if (result != 0 && errno == EINVAL)
        result = ::fsync(fd);
    return result == 0 ? 0 : errno;
}
} // namespace

int BlockWriter::writeBlock(int fd, const char* data, qint64 length, qint64 offset, qint64* written)
{
    qint64 done = 0;
    int error = 0;
    while (done < length) {
        const ssize_t n = ::pwrite(fd, data + done, static_cast<size_t>(length - done), offset + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0) {
            error = ENOSPC;
            break;
        }
        done += n;
    }
    *written = done;
    m_unsynced += done;
    if (error == 0 && m_unsynced >= SyncEvery) {
        m_unsynced = 0;
        error = dataSync(fd);
    }
    return error;
}

int BlockWriter::syncPattern(int fd)
{
    m_unsynced = 0;
    return dataSync(fd);
}

int BlockWriter::syncFolder(int folderFd, int sameFileSystemFd)
{
    if (::fsync(folderFd) == 0)
        return 0;
    if (errno != EBADF)
        return errno;
    const int readable = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable >= 0) {
        const int result = ::fsync(readable) == 0 ? 0 : errno;
        ::close(readable);
        return result;
    }
    return ::syncfs(sameFileSystemFd) == 0 ? 0 : errno;
}
