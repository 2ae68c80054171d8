#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <deque>
#include <utility>

// The file layer under the passes: writes runs of a pattern's blocks and puts a finished
// pattern on the disk. The engine owns one; tests derive from it to record what is written or
// to fail on demand.
class BlockWriter
{
public:
    virtual ~BlockWriter() = default;

    // Writes `length` bytes at `offset`: the pattern `block` laid over the file from its start,
    // so that the byte at file offset x is block[x % block.size()]. As few calls as the kernel
    // takes (short writes are continued); the written range is handed to the disk's write-back
    // at once. Returns 0, or the errno of the failure; *written then holds how many bytes did
    // reach the file.
    virtual int writeBlocks(int fd, const QByteArray& block, qint64 length, qint64 offset, qint64* written);

    // Waits until no more than a few megabytes of what writeBlocks wrote are still on their way
    // to the disk, so that the pattern's closing sync is short and the kernel never has to hold
    // the writer back. A hint only: 0, or an errno value the caller may ignore.
    virtual int settle(int fd);

    // Called after the last block of a pattern: returns once everything written to fd has
    // reached the disk (fdatasync, falling back to fsync), 0 or an errno value. Linux drops
    // the dirty pages of a deleted file, so a pattern that was never written back never
    // touched the old blocks.
    virtual int syncPattern(int fd);

    // Makes a rename or a removal in the folder durable: the folder is synced. A folder we may
    // write in but not read (mode -wx) can only be opened as a path, which cannot be synced;
    // its whole file system is synced instead, through sameFileSystemFd. Returns 0 or an
    // errno value.
    virtual int syncFolder(int folderFd, int sameFileSystemFd);

private:
    // The ranges of m_fd handed to write-back and not yet waited for, oldest first.
    int m_fd = -1;
    std::deque<std::pair<qint64, qint64>> m_inFlight;
    qint64 m_inFlightBytes = 0;
};
