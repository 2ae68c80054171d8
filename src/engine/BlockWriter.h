#pragma once

#include <QtGlobal>

// The file layer under the passes: writes one block and puts one finished pattern on the disk.
// The engine owns one; tests derive from it to record what is written or to fail on demand.
class BlockWriter
{
public:
    virtual ~BlockWriter() = default;

    // Writes all of data at offset (short writes are continued). Returns 0, or the errno of the
    // failure; *written then holds how many bytes did reach the file.
    virtual int writeBlock(int fd, const char* data, qint64 length, qint64 offset, qint64* written);

    // Called after the last block of a pattern: returns once everything written to fd has
    // reached the disk (fdatasync, falling back to fsync), 0 or an errno value. Linux drops
    // the dirty pages of a deleted file, so a pattern that was never written back never
    // touched the old blocks.
    virtual int syncPattern(int fd);

private:
    // Pages handed to the disk while a pattern is still being written, so that the final
    // sync waits for a few megabytes only and the window never freezes for long.
    void startWriteBack(int fd);

    int m_fd = -1;
    qint64 m_windowStart = 0;
    qint64 m_windowEnd = 0;
    qint64 m_previousStart = 0;
    qint64 m_previousEnd = 0;
};
