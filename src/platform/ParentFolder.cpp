#include "ParentFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>

namespace {
int openFolder(int at, const char* name, bool followLinks)
{
    const int flags = O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    int fd = ::openat(at, name, O_RDONLY | flags);
    // A folder we may pass through but not list still serves for the names inside it.
    if (fd < 0 && errno == EACCES)
        fd = ::openat(at, name, O_PATH | flags);
    return fd;
}
} // namespace

ParentFolder ParentFolder::open(const QString& path, bool followLinks)
{
    ParentFolder parent;
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QList<QByteArray> parts = QFile::encodeName(absolute).split('/');
    parts.removeAll(QByteArray());
    if (parts.isEmpty()) {
        parent.m_error = EINVAL;
        return parent;
    }
    parent.m_name = parts.takeLast();
    FileDescriptor folder(openFolder(AT_FDCWD, "/", true));
    int error = folder.isValid() ? 0 : errno;
    for (const QByteArray& part : std::as_const(parts)) {
        if (error != 0)
            break;
        const int next = openFolder(folder.get(), part.constData(), followLinks);
        error = next < 0 ? errno : 0;
        folder.reset(next);
    }
    if (error != 0) {
        // O_DIRECTORY | O_NOFOLLOW on a link says ENOTDIR; what it means here is a refused link.
        parent.m_error = error == ENOTDIR && !followLinks ? ELOOP : error;
        return parent;
    }
    parent.m_fd = std::move(folder);
    return parent;
}
