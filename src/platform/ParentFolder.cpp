#include "ParentFolder.h"

#include "PathBytes.h"

#include <QList>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// As many links as the kernel follows in one path.
constexpr int MaxLinks = 40;

QList<QByteArray> componentsOf(const QByteArray& path)
{
    QList<QByteArray> parts = path.split('/');
    parts.removeAll(QByteArray());
    return parts;
}

FileDescriptor openRoot()
{
    return FileDescriptor(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The link's target, read through the folder that holds it.
int readLink(int folderFd, const QByteArray& name, QByteArray* target)
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = ::readlinkat(folderFd, name.constData(), buffer.data(), buffer.size());
    if (length < 0)
        return errno;
    *target = buffer.left(length);
    return 0;
}

// One step of the walk from folder: returns 0 and replaces folder, or an errno value. A link
// met with followLinks pushes its target's components in front of the rest of the walk.
int step(FileDescriptor& folder, const QByteArray& part, QList<QByteArray>& rest, bool followLinks,
         int& links)
{
    if (part == ".")
        return 0;
    const int next = ::openat(folder.get(), part.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next >= 0) {
        folder.reset(next);
        return 0;
    }
    const int error = errno;
    struct stat item
    {
    };
    if (::fstatat(folder.get(), part.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(item.st_mode))
        return error;
    if (!followLinks || ++links > MaxLinks)
        return ELOOP;
    QByteArray target;
    if (const int readError = readLink(folder.get(), part, &target))
        return readError;
    if (target.startsWith('/')) {
        folder = openRoot();
        if (!folder.isValid())
            return errno;
    }
    rest = componentsOf(target) + rest;
    return 0;
}

// Walks rest (the folders) from folder; the last component is the item's name.
int walk(FileDescriptor& folder, QList<QByteArray> rest, bool followLinks, int& links, QByteArray* name)
{
    if (rest.isEmpty() || rest.last() == "." || rest.last() == "..")
        return ParentFolder::DotName;
    *name = rest.takeLast();
    while (!rest.isEmpty())
        if (const int error = step(folder, rest.takeFirst(), rest, followLinks, links))
            return error;
    return 0;
}
} // namespace

ParentFolder ParentFolder::open(const QString& path, bool followLinks)
{
    ParentFolder parent;
    const QByteArray bytes = PathBytes::encode(path);
    if (bytes.isEmpty() || bytes.contains('\0')) {
        // A NUL would end the path early for every call below: it would name another item.
        parent.m_error = bytes.isEmpty() ? ENOENT : EINVAL;
        return parent;
    }
    FileDescriptor folder =
        bytes.startsWith('/') ? openRoot() : FileDescriptor(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    int links = 0;
    int error =
        folder.isValid() ? walk(folder, componentsOf(bytes), followLinks, links, &parent.m_name) : errno;
    // A trailing slash makes the kernel follow the item too: "link/" is the folder it points to.
    struct stat item
    {
    };
    while (error == 0 && followLinks && bytes.endsWith('/') &&
           ::fstatat(folder.get(), parent.m_name.constData(), &item, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(item.st_mode)) {
        QByteArray target;
        error = ++links > MaxLinks ? ELOOP : readLink(folder.get(), parent.m_name, &target);
        if (error == 0 && target.startsWith('/'))
            folder = openRoot();
        if (error == 0)
            error = walk(folder, componentsOf(target), followLinks, links, &parent.m_name);
    }
    // "name/" names a folder; the kernel refuses it for anything else.
    if (error == 0 && bytes.endsWith('/')) {
        if (::fstatat(folder.get(), parent.m_name.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0)
            error = errno;
        else if (!S_ISDIR(item.st_mode))
            error = ENOTDIR;
    }
    if (error != 0) {
        parent.m_error = error;
        return parent;
    }
    // The folder opened for reading can be listed and synced; one we may only pass through
    // still serves for the names inside it.
    const int readable = ::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable >= 0)
        folder.reset(readable);
    parent.m_fd = std::move(folder);
    return parent;
}
