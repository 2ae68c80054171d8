#pragma once

#include "FileDescriptor.h"

#include <cerrno>

#include <QByteArray>
#include <QString>

// The folder that holds an item, opened, and the item's name in it. Everything done to the
// item goes through this descriptor and name (fstatat, openat, renameat2, unlinkat), so a
// folder renamed or replaced by a link half-way cannot redirect the work elsewhere, and paths
// of any length work.
class ParentFolder
{
public:
    // The error of a path whose last component is "." or "..": such a path names a folder
    // only by the way to it, and shredding "dir/." would destroy dir itself.
    static constexpr int DotName = EINVAL;

    // Walks the folders of path from the root (a relative path from the working folder) one
    // component at a time, each opened with O_NOFOLLOW from the folder before it. With
    // followLinks, a symbolic link on the way is read and its target walked in its place, and
    // ".." goes up from where the walk stands, exactly as the kernel resolves a path; without
    // it, any link on the way fails with ELOOP. The last component is never followed; trailing
    // slashes are dropped.
    static ParentFolder open(const QString& path, bool followLinks);

    bool isOpen() const { return m_fd.isValid(); }
    int fd() const { return m_fd.get(); }
    // The errno of the failed open, 0 when open.
    int error() const { return m_error; }
    // The item's name in the folder, as bytes (Linux names need not be valid text).
    const QByteArray& name() const { return m_name; }

private:
    FileDescriptor m_fd;
    QByteArray m_name;
    int m_error = 0;
};
