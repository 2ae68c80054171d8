// The folder walk of the shred engine: LoadFolders and what it is built from.
#include "EngineFiles.h"
#include "ShredEngine.h"
#include "platform/ParentFolder.h"
#include "platform/PathBytes.h"
#include "platform/SystemItems.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// Each level of the walk is a call with its entries on the stack and in memory: far deeper trees
// than anyone makes, and still far from the end of a thread's stack.
constexpr int MaxDepth = 2048;

// A folder opened to be listed, or only to be passed through when it may not be read.
int openFolder(int at, const char* name, int extraFlags)
{
    const int flags = O_DIRECTORY | O_CLOEXEC | extraFlags;
    const int fd = ::openat(at, name, O_RDONLY | flags);
    return fd < 0 && errno == EACCES ? ::openat(at, name, O_PATH | flags) : fd;
}

bool sameFolder(int fd, const struct stat& expected)
{
    struct stat info
    {
    };
    return ::fstat(fd, &info) == 0 && info.st_dev == expected.st_dev && info.st_ino == expected.st_ino;
}
} // namespace

void ShredEngine::LoadFolders(const QString& folderPath)
{
    const ParentFolder parent = ParentFolder::open(folderPath, true);
    const QString refusal = parent.isOpen() ? SystemItemReason(parent.fd(), parent.name())
                                            : EngineFiles::unreachableReason(parent.error());
    if (!refusal.isEmpty() || !parent.isOpen()) {
        const QString reason = refusal.isEmpty() ? EngineFiles::errorText(parent.error()) : refusal;
        if (refusal.isEmpty())
            logFailure(QStringLiteral("LoadFolders"), parent.error(), folderPath);
        report(refusal.isEmpty() ? ShredEvent::Kind::FolderKept : ShredEvent::Kind::Refused, folderPath,
               reason);
        return;
    }
    struct stat info
    {
    };
    if (::fstatat(parent.fd(), parent.name().constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISDIR(info.st_mode)) {
        shredAt(parent.fd(), parent.name(), folderPath, PathBytes::decode(parent.name()));
        return;
    }
    FileDescriptor top(::fcntl(parent.fd(), F_DUPFD_CLOEXEC, 0));
    m_walkLost = false;
    m_depth = 0;
    walk(top, parent.name(), folderPath);
}

// Shreds the folder name in parent. A tree may be deeper than the descriptors a process may
// hold, so each level keeps only its own folder open: parent is closed while the walk is below
// it and opened again through "..", which must lead back to the very folder that was left.
// When it does not (the tree was moved meanwhile), parent stays closed and every level above
// ends without touching anything more.
void ShredEngine::walk(FileDescriptor& parent, const QByteArray& name, const QString& path)
{
    FileDescriptor folder(openFolder(parent.get(), name.constData(), O_NOFOLLOW));
    struct stat self
    {
    };
    struct stat above
    {
    };
    if (!folder.isValid() || ::fstat(folder.get(), &self) != 0 || ::fstat(parent.get(), &above) != 0) {
        const int error = errno;
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, EngineFiles::errorText(error));
        return;
    }
    if (EngineFiles::isOtherMount(parent.get(), name.constData(), self.st_dev)) {
        report(ShredEvent::Kind::Refused, path, QStringLiteral("another file system, not entered"));
        return;
    }
    // Not entered unless the way back is sure: a folder without search permission has no "..".
    if (!sameFolder(FileDescriptor(openFolder(folder.get(), "..", 0)).get(), above)) {
        logFailure(QStringLiteral("LoadFolders"), EACCES, path);
        report(ShredEvent::Kind::FolderKept, path, QStringLiteral("it cannot be entered"));
        return;
    }
    if (m_depth >= MaxDepth) {
        logFailure(QStringLiteral("LoadFolders"), ELOOP, path);
        report(ShredEvent::Kind::FolderKept, path, QStringLiteral("deeper than %1 folders").arg(MaxDepth));
        return;
    }
    parent.reset();
    ++m_depth;
    shredEntries(folder, path);
    --m_depth;
    if (!m_walkLost)
        parent.reset(openFolder(folder.get(), "..", 0));
    if (!m_walkLost && !sameFolder(parent.get(), above)) {
        m_walkLost = true;
        parent.reset();
        logFailure(QStringLiteral("LoadFolders"), ESTALE, path);
        report(ShredEvent::Kind::FolderKept, path,
               QStringLiteral("the folder was moved while it was shredded"));
    }
    if (!m_walkLost && m_window.caption(Caption::lblstatus) != RunCaption::Stopped)
        removeFolder(parent.get(), folder.get(), name, path);
    m_window.yield();
}

// The files of the folder first, then its subfolders, with the stop test between any two.
void ShredEngine::shredEntries(FileDescriptor& folder, const QString& path)
{
    int error = 0;
    const QList<EngineFiles::Entry> entries = EngineFiles::listFolder(folder.get(), &error);
    if (error != 0) {
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, EngineFiles::errorText(error));
        return;
    }
    for (const EngineFiles::Entry& entry : entries) {
        if (entry.type == S_IFDIR)
            continue;
        m_window.yield();
        if (stopTest())
            return;
        const QString entryPath = EngineFiles::childPath(path, entry.name);
        if (entry.type == S_IFREG || entry.type == S_IFLNK)
            shredAt(folder.get(), entry.name, entryPath, PathBytes::decode(entry.name));
        else
            report(ShredEvent::Kind::Refused, entryPath, EngineFiles::kindOf(entry.type));
        m_window.yield();
    }
    for (const EngineFiles::Entry& entry : entries) {
        if (entry.type != S_IFDIR)
            continue;
        m_window.yield();
        if (m_walkLost || stopTest())
            return;
        const QString entryPath = EngineFiles::childPath(path, entry.name);
        if (entry.otherMount)
            report(ShredEvent::Kind::Refused, entryPath, QStringLiteral("another file system, not entered"));
        else
            walk(folder, entry.name, entryPath);
        m_window.yield();
    }
}

// Renames the emptied folder to its first character and as many capitals as its name has
// characters, then removes it. A folder that still holds something (a queued file, a refused
// item, another file system) keeps its name, so that the queued paths inside it stay valid.
void ShredEngine::removeFolder(int parentFd, int folderFd, const QByteArray& name, const QString& path)
{
    int error = 0;
    if (!EngineFiles::listFolder(folderFd, &error).isEmpty())
        error = ENOTEMPTY;
    QByteArray newName;
    struct stat self
    {
    };
    if (error == 0 && (::fstat(folderFd, &self) != 0 || !EngineFiles::isSameItem(parentFd, name, self)))
        error = ESTALE;
    if (error == 0) {
        const QString decoded = PathBytes::decode(name);
        const QByteArray first = PathBytes::encode(decoded.left(decoded.at(0).isHighSurrogate() ? 2 : 1));
        error = renameToRandom(parentFd, name, first, decoded.length(), &newName);
    }
    if (error == 0) {
        waitForDisk([&] { return m_writer->syncFolder(parentFd, folderFd); });
        error = EngineFiles::isSameItem(parentFd, newName, self) ? removeName(parentFd, newName, AT_REMOVEDIR)
                                                                 : ESTALE;
        if (error == 0)
            error = waitForDisk([&] { return m_writer->syncFolder(parentFd, folderFd); });
    }
    if (error != 0) {
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, EngineFiles::errorText(error));
    }
}
