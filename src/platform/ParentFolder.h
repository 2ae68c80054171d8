#pragma once

#include "FileDescriptor.h"

#include <QByteArray>
#include <QString>

// The folder that holds an item, opened, and the item's name in it. Everything the engine does
// to the item goes through this descriptor and name (fstatat, openat, renameat2, unlinkat), so
// a folder renamed or replaced by a link half-way cannot redirect the work elsewhere, and
// paths longer than PATH_MAX work.
class ParentFolder
{
public:
    // Opens the folders of path one component at a time from the root (a relative path is
    // taken against the working folder). With followLinks false, a symbolic link anywhere among
    // the folders is refused (error ELOOP) instead of followed.
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
