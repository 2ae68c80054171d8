#include "BlockWriter.h"

#include <QVarLengthArray>

#include <cerrno>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {
// Written but not yet on the disk, at most: enough to keep the disk's queue full, little
// enough that the wait for the oldest range and the pattern's closing sync stay short.
constexpr qint64 InFlightLimit = 8 * 1024 * 1024;
constexpr int MaxVectors = 256;

int dataSync(int fd)
{
    int result = ::fdatasync(fd);
    if (result != 0 && errno == EINVAL)
        result = ::fsync(fd);
    return result == 0 ? 0 : errno;
}

// One pwritev from `done` bytes into the run on: the first piece finishes the block it falls
// in, the others are whole blocks, each vector pointing into the one pattern block.
ssize_t writeFrom(int fd, const QByteArray& block, qint64 length, qint64 offset, qint64 done)
{
    QVarLengthArray<iovec, MaxVectors> vectors;
    const qint64 blockSize = block.size();
    qint64 at = done;
    while (at < length && vectors.size() < MaxVectors) {
        const qint64 within = (offset + at) % blockSize;
        const qint64 piece = qMin(blockSize - within, length - at);
        vectors.append({const_cast<char*>(block.constData()) + within, size_t(piece)});
        at += piece;
    }
    return ::pwritev(fd, vectors.constData(), vectors.size(), offset + done);
}
} // namespace

int BlockWriter::writeBlocks(int fd, const QByteArray& block, qint64 length, qint64 offset, qint64* written)
{
    qint64 done = 0;
    int error = 0;
    while (done < length && !block.isEmpty()) {
        const ssize_t n = writeFrom(fd, block, length, offset, done);
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
    if (fd != m_fd) {
        m_fd = fd;
        m_inFlight.clear();
        m_inFlightBytes = 0;
    }
    if (done > 0 && ::sync_file_range(fd, offset, done, SYNC_FILE_RANGE_WRITE) == 0) {
        m_inFlight.emplace_back(offset, done);
        m_inFlightBytes += done;
    }
    return error;
}

int BlockWriter::settle(int fd)
{
    constexpr unsigned int WaitWritten =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    int error = 0;
    while (m_inFlightBytes > InFlightLimit) {
        const auto [offset, length] = m_inFlight.front();
        m_inFlight.pop_front();
        m_inFlightBytes -= length;
        if (::sync_file_range(fd, offset, length, WaitWritten) != 0)
            error = errno;
    }
    return error;
}

int BlockWriter::syncPattern(int fd)
{
    m_inFlight.clear();
    m_inFlightBytes = 0;
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
