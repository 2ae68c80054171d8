#include "BlockWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr qint64 WriteBackWindow = 4 * 1024 * 1024;
}

int BlockWriter::writeBlock(int fd, const char* data, qint64 length, qint64 offset, qint64* written)
{
    if (fd != m_fd || offset < m_windowEnd) {
        // A new file or a new pattern: its pages start a fresh window.
        m_fd = fd;
        m_windowStart = m_windowEnd = offset;
        m_previousStart = m_previousEnd = 0;
    }
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
    m_windowEnd = qMax(m_windowEnd, offset + done);
    if (m_windowEnd - m_windowStart >= WriteBackWindow)
        startWriteBack(fd);
    return error;
}

void BlockWriter::startWriteBack(int fd)
{
    // Start the newest window on its way and wait for the one before it: at most two windows
    // are ever dirty. Failures here are found again by the pattern's final sync.
    ::sync_file_range(fd, m_windowStart, m_windowEnd - m_windowStart, SYNC_FILE_RANGE_WRITE);
    if (m_previousEnd > m_previousStart)
        ::sync_file_range(fd, m_previousStart, m_previousEnd - m_previousStart,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    m_previousStart = m_windowStart;
    m_previousEnd = m_windowEnd;
    m_windowStart = m_windowEnd;
}

int BlockWriter::syncPattern(int fd)
{
    m_fd = -1;
    m_windowStart = m_windowEnd = m_previousStart = m_previousEnd = 0;
    int result = ::fdatasync(fd);
    if (result != 0 && errno == EINVAL)
        result = ::fsync(fd);
    return result == 0 ? 0 : errno;
}
