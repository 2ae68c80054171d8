#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/stat.h>

// A stretch of a file that holds data; the holes of a sparse file lie between them.
struct DataRange
{
    qint64 begin;
    qint64 end;
};

// A regular file opened for shredding, and what the engine must know of it before the first
// pass. Opening never follows a link and never lands anywhere but on the inode that was listed:
// the name is opened as a path only (O_PATH), that descriptor is checked, and the mode fix-up
// and the opening for writing go through it (its /proc/self/fd entry), so a name swapped in
// between changes nothing but the swapped name.
class OpenedFile
{
public:
    // Returns 0 or an errno value; ESTALE when the name no longer leads to the listed file.
    int open(int folderFd, const QByteArray& name, const struct stat& listed);

    int fd() const { return m_file.get(); }
    void close() { m_file.reset(); }
    // Gives the file back the mode it had before open() made it owner-readable and -writable.
    void restoreMode();
    const struct stat& info() const { return m_info; }

    // A write lease tells whether another process has the file open, and later whether one
    // tries to open it. Returns EBUSY when the file is in use, 0 when the lease is held or the
    // file system has no leases.
    int takeLease();
    // True when another process asked to open the file since the lease was taken; the lease is
    // then given up at once, so that it does not wait for us.
    bool leaseBroken();

    // The stretches that hold data (SEEK_DATA / SEEK_HOLE); one stretch, the whole file, where
    // the file system cannot tell. Empty for an empty file.
    QList<DataRange> dataRanges() const;

    // Why overwriting this file in place does not reach its old blocks, empty when it does:
    // the blocks are shared with another file (a copy made by reflink, a snapshot).
    QString sharedBlocksReason() const;
    // True on btrfs when the file was made "no copy-on-write" (chattr +C): written in place.
    bool writesInPlace() const;

private:
    FileDescriptor m_file;
    struct stat m_info
    {
    };
    bool m_leased = false;
    mode_t m_originalMode = 0;
    bool m_modeChanged = false;
};
