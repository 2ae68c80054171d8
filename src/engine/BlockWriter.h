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
    // touched the old blocks. Long patterns are also synced on the way, every 16 MiB, so that
    // no single sync keeps the window waiting long.
    virtual int syncPattern(int fd);

    // Makes a rename or a removal in the folder durable: the folder is synced. A folder we may
    // write in but not read (mode -wx) can only be opened as a path, which cannot be synced;
    // its whole file system is synced instead, through sameFileSystemFd. Returns 0 or an
    // errno value.
    virtual int syncFolder(int folderFd, int sameFileSystemFd);

private:
    qint64 m_unsynced = 0;
};
