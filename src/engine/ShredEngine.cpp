#include "ShredEngine.h"

#include "platform/FileDescriptor.h"
#include "FileSystemKind.h"
#include "platform/ParentFolder.h"
#include "PendingDeletions.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "platform/SystemItems.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Module = QStringLiteral("modShred");
constexpr int RenameAttempts = 16;
constexpr qint64 ReleaseStep = 32 * 1024 * 1024;

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

long errorNumber(int error)
{
    switch (error) {
    case ENOENT:
        return ErrorNumber::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    default:
        return ErrorNumber::PathFileAccessError;
    }
}

QString childPath(const QString& folder, const QByteArray& name)
{
    return folder + QLatin1Char('/') + QFile::decodeName(name);
}

// The folder's new directory entry is only durable once the folder itself is synced. A folder
// opened only for passing through (O_PATH) cannot be synced; the rename and unlink stand anyway.
void syncFolder(int folderFd)
{
    ::fsync(folderFd);
}

int renameNoReplace(int folderFd, const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(folderFd, from.constData(), folderFd, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: test first; nothing else renames in this folder.
    struct stat existing
    {
    };
    if (::fstatat(folderFd, to.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(folderFd, from.constData(), folderFd, to.constData()) == 0 ? 0 : errno;
}

// The mount an item belongs to, 0 where the kernel cannot say. A folder bind-mounted from the
// same file system has the same device number as its surroundings; only this tells it apart.
quint64 mountIdOf(int folderFd, const char* name)
{
    struct statx info
    {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | (*name ? 0 : AT_EMPTY_PATH);
    if (::statx(folderFd, name, flags, STATX_TYPE | STATX_MNT_ID, &info) != 0 ||
        !(info.stx_mask & STATX_MNT_ID))
        return 0;
    return info.stx_mnt_id;
}

// True when name in the folder is the root of another mount: a file system of its own or a
// bind mount. Such an item was not chosen with the folder around it.
bool isOtherMount(int folderFd, const char* name, dev_t device)
{
    struct stat folder
    {
    };
    if (::fstat(folderFd, &folder) == 0 && folder.st_dev != device)
        return true;
    const quint64 folderMount = mountIdOf(folderFd, "");
    const quint64 itemMount = mountIdOf(folderFd, name);
    return folderMount != 0 && itemMount != 0 && folderMount != itemMount;
}

struct Entry
{
    QByteArray name;
    mode_t type;
    bool otherMount;
};

// The folder's entries, sorted by name so that a walk is repeatable.
QList<Entry> listFolder(int folderFd, int* error)
{
    QList<Entry> entries;
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd < 0 ? nullptr : ::fdopendir(listFd);
    if (!dir) {
        *error = errno;
        if (listFd >= 0)
            ::close(listFd);
        return entries;
    }
    while (const dirent* item = ::readdir(dir)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0)
            continue;
        struct stat info
        {
        };
        if (::fstatat(folderFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        entries.append({QByteArray(item->d_name), static_cast<mode_t>(info.st_mode & S_IFMT),
                        isOtherMount(folderFd, item->d_name, info.st_dev)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    *error = 0;
    return entries;
}

QString kindOf(mode_t type)
{
    switch (type) {
    case S_IFIFO:
        return QStringLiteral("a FIFO, not opened");
    case S_IFSOCK:
        return QStringLiteral("a socket, not opened");
    case S_IFCHR:
    case S_IFBLK:
        return QStringLiteral("a device node, not opened");
    default:
        return QStringLiteral("not a regular file, folder or link");
    }
}
} // namespace

ShredEngine::ShredEngine(ShredWindow& window)
    : m_window(window), m_letters(&m_systemLetters), m_writer(&m_realWriter)
{}

void ShredEngine::setLetterSource(LetterSource* letters)
{
    m_letters = letters ? letters : &m_systemLetters;
}

void ShredEngine::setBlockWriter(BlockWriter* writer)
{
    m_writer = writer ? writer : &m_realWriter;
}

void ShredEngine::setStopShred(std::function<void()> stopShred)
{
    m_stopShred = std::move(stopShred);
}

void ShredEngine::setEventHandler(std::function<void(const ShredEvent&)> handler)
{
    m_eventHandler = std::move(handler);
}

void ShredEngine::ShredFile(const QString& path, const QString& fileName)
{
    if (IsSystemItem(path)) {
        // The run has already said "Shredding" in lblstatus2; no file is in progress after all.
        report(ShredEvent::Kind::Refused, path, QStringLiteral("a system item"));
        finishFile();
        return;
    }
    const ParentFolder parent = ParentFolder::open(path, true);
    if (!parent.isOpen()) {
        // The file's folder is out of reach: nothing was written, the path waits in the queue.
        Shared().LockedFilesFound = true;
        DeleteAfterReboot(path);
        report(ShredEvent::Kind::Queued, path, errorText(parent.error()));
        finishFile();
        return;
    }
    shredAt(parent.fd(), parent.name(), path, fileName);
}

ShredOutcome ShredEngine::shredPendingFile(const QString& path)
{
    if (IsSystemItem(path)) {
        logFailure(QStringLiteral("ProcessPendingDeletions"), EPERM, path);
        return ShredOutcome::Refused;
    }
    const ParentFolder parent = ParentFolder::open(path, false);
    struct stat info
    {
    };
    if (!parent.isOpen() ||
        ::fstatat(parent.fd(), parent.name().constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        const int error = parent.isOpen() ? errno : parent.error();
        if (error != ENOENT)
            logFailure(QStringLiteral("ProcessPendingDeletions"), error, path);
        return ShredOutcome::Refused;
    }
    if (!S_ISREG(info.st_mode)) {
        // What is there now is not the file that was queued: leave it as it is.
        logFailure(QStringLiteral("ProcessPendingDeletions"), ELOOP, path);
        return ShredOutcome::Refused;
    }
    return shredAt(parent.fd(), parent.name(), path, QFile::decodeName(parent.name()));
}

ShredOutcome ShredEngine::shredAt(int folderFd, const QByteArray& name, const QString& path,
                                  const QString& fileName)
{
    m_window.setCaption(Caption::lblstatus2, RunCaption::Shredding);
    m_window.yield();
    m_window.setCaption(Caption::lblPrompt, ShredPasses::shreddingPrompt(fileName));

    ShredOutcome outcome = ShredOutcome::Destroyed;
    QByteArray leftName = name;
    const int error = overwriteAndRemove(folderFd, name, path, fileName, &outcome, &leftName);
    if (outcome == ShredOutcome::Refused) {
        report(ShredEvent::Kind::Refused, path,
               error == 0 ? QStringLiteral("not a regular file")
                          : QStringLiteral("on another mount, not opened"));
    } else if (error != 0) {
        // The file may have been renamed before the failure: queue it where it is now.
        const QString queued = leftName == name ? path
                                                : path.left(path.lastIndexOf(QLatin1Char('/')) + 1) +
                                                      QFile::decodeName(leftName);
        Shared().LockedFilesFound = true;
        DeleteAfterReboot(queued);
        report(ShredEvent::Kind::Queued, queued, errorText(error));
        outcome = ShredOutcome::Queued;
    }
    finishFile();
    return outcome;
}

void ShredEngine::finishFile()
{
    m_window.setCaption(Caption::lblstatus2, RunCaption::Done);
    m_window.setCaption(Caption::lblstatus, RunCaption::Done);
    m_window.yield();
    if (m_window.caption(Caption::lblshred) != RunCaption::Stopping)
        return;
    if (m_stopShred)
        m_stopShred();
    else
        m_window.setCaption(Caption::lblstatus, RunCaption::Stopped);
}

// Returns 0 or the errno of the step that failed; *outcome says Refused for items that are not
// regular files (never opened), *leftName the name the file has when the failure came.
int ShredEngine::overwriteAndRemove(int folderFd, const QByteArray& name, const QString& path,
                                    const QString& fileName, ShredOutcome* outcome, QByteArray* leftName)
{
    struct stat listed
    {
    };
    if (::fstatat(folderFd, name.constData(), &listed, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISLNK(listed.st_mode)) {
        // A link is removed as a link: what it points to was not chosen.
        if (::unlinkat(folderFd, name.constData(), 0) != 0)
            return errno;
        syncFolder(folderFd);
        return 0;
    }
    if (!S_ISREG(listed.st_mode) || isOtherMount(folderFd, name.constData(), listed.st_dev)) {
        *outcome = ShredOutcome::Refused;
        return S_ISREG(listed.st_mode) ? EXDEV : 0;
    }

    // The owner read and write bits play the part of the "normal" attribute.
    if ((listed.st_mode & (S_IRUSR | S_IWUSR)) != (S_IRUSR | S_IWUSR))
        ::fchmodat(folderFd, name.constData(), (listed.st_mode & 07777) | S_IRUSR | S_IWUSR, 0);

    FileDescriptor file(
        ::openat(folderFd, name.constData(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isValid())
        return errno;
    struct stat opened
    {
    };
    if (::fstat(file.get(), &opened) != 0)
        return errno;
    if (opened.st_dev != listed.st_dev || opened.st_ino != listed.st_ino || !S_ISREG(opened.st_mode))
        return ESTALE;
    int flags = 0;
    if (::ioctl(file.get(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)))
        return EPERM;
    reportFileSystem(file.get(), opened.st_dev, path);

    if (const int error = runPasses(file.get(), opened.st_size))
        return error;
    m_window.setBarValue(Bar::baredit, 0);
    m_window.setBarValue(Bar::bareditsmall, 0);
    m_window.yield();

    // The file stays open across the rename, so that a large one can be handed back to the
    // file system in steps (see releaseInSteps) before its name goes.
    const int letters = fileName.isEmpty() ? QFile::decodeName(name).length() : fileName.length();
    QByteArray newName;
    if (const int error = renameToRandom(folderFd, name, QByteArray(), letters, &newName))
        return error;
    *leftName = newName;
    syncFolder(folderFd);
    m_window.yield();
    releaseInSteps(file.get());
    file.reset();
    if (::unlinkat(folderFd, newName.constData(), 0) != 0)
        return errno;
    syncFolder(folderFd);
    return 0;
}

// Freeing the blocks of a file of a gigabyte takes the file system a third of a second in one
// piece; cut into steps with a yield between them, the window keeps answering. The content is
// overwritten and on the disk by now, so what is cut off is only the patterns.
void ShredEngine::releaseInSteps(int fd)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return;
    for (qint64 size = info.st_size - ReleaseStep; size > 0; size -= ReleaseStep) {
        if (::ftruncate(fd, size) != 0)
            return;
        m_window.yield();
    }
}

int ShredEngine::runPasses(int fd, qint64 length)
{
    const BlockLayout layout = ShredPasses::blockLayout(length);
    m_window.setBarVisible(Bar::baredit, true);
    m_window.setBarValue(Bar::baredit, 0);
    m_window.setBarVisible(Bar::bareditsmall, m_window.expandVisible());
    m_window.setBarValue(Bar::bareditsmall, 0);

    SharedState& state = Shared();
    // ENHANCED and ULTRA raise the shared count itself, for the rest of the program's life.
    state.NumOverwrite = ShredPasses::effectiveWipes(state.FastShred, state.NumOverwrite);
    const QList<Pattern> patterns = ShredPasses::patterns(state.FastShred);
    const qint64 max = ShredPasses::progressMax(layout, state.NumOverwrite, patterns.size());
    m_window.setBarMax(Bar::baredit, max);
    m_window.setBarMax(Bar::bareditsmall, max);

    qint64 blocksWritten = 0;
    qint64 writeLimit = LLONG_MAX;
    for (qint32 pass = 1; pass <= state.NumOverwrite; ++pass) {
        for (const Pattern pattern : patterns) {
            const QByteArray buffer = patternBuffer(pattern, layout.BlockSize);
            m_window.yield();
            if (const int error = writePattern(fd, buffer, layout, length, &writeLimit, &blocksWritten))
                return error;
            if (const int error = m_writer->syncPattern(fd))
                return error;
            m_window.yield();
        }
    }
    return 0;
}

// Writes one pattern over every block. A disk that fills up while the file grows past its
// original end does not stop the shred: the old content is covered by then, so the file simply
// stops growing (*writeLimit) for the remaining patterns.
int ShredEngine::writePattern(int fd, const QByteArray& buffer, const BlockLayout& layout,
                              qint64 originalLength, qint64* writeLimit, qint64* blocksWritten)
{
    for (qint64 block = 0; block <= layout.lastBlock; ++block) {
        m_window.yield();
        const qint64 offset = block * layout.BlockSize;
        const qint64 length = qMin<qint64>(buffer.size(), qMax<qint64>(*writeLimit - offset, 0));
        if (length > 0 || buffer.isEmpty()) {
            qint64 written = 0;
            int error = m_writer->writeBlock(fd, buffer.constData(), length, offset, &written);
            const bool full = error == ENOSPC || error == EDQUOT || error == EFBIG;
            const qint64 end = offset + written;
            if (full && end < originalLength && offset + length > originalLength) {
                // The file system may refuse the whole block rather than its growing part.
                qint64 more = 0;
                error =
                    m_writer->writeBlock(fd, buffer.constData() + written, originalLength - end, end, &more);
                written += more;
            }
            if (error != 0 && (!full || offset + written < originalLength))
                return error;
            if (full)
                *writeLimit = offset + written;
        }
        ++*blocksWritten;
        m_window.setBarValue(Bar::baredit, *blocksWritten);
        m_window.setBarValue(Bar::bareditsmall, *blocksWritten);
        m_window.yield();
    }
    return 0;
}

QByteArray ShredEngine::patternBuffer(Pattern pattern, qint32 blockSize)
{
    if (pattern == Pattern::OneRandomLetter)
        return QByteArray(blockSize, m_letters->letter());
    if (pattern != Pattern::RandomLetters)
        return ShredPasses::fixedPattern(pattern, blockSize);
    QByteArray buffer(blockSize, Qt::Uninitialized);
    for (qint32 i = 0; i < blockSize; ++i) {
        buffer[i] = m_letters->letter();
        m_window.yield();
    }
    return buffer;
}

// Renames name to prefix + letters random capitals, never over an existing item: a taken name
// is drawn again a few times before the rename counts as failed.
int ShredEngine::renameToRandom(int folderFd, const QByteArray& name, const QByteArray& prefix, int letters,
                                QByteArray* newName)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < RenameAttempts && error == EEXIST; ++attempt) {
        QByteArray candidate = prefix;
        for (int i = 0; i < letters; ++i) {
            candidate.append(m_letters->letter());
            m_window.yield();
        }
        // A name one character longer than the longest allowed one keeps the longest length.
        candidate.truncate(NAME_MAX);
        error = renameNoReplace(folderFd, name, candidate);
        if (error == 0)
            *newName = candidate;
    }
    return error;
}

void ShredEngine::reportFileSystem(int fd, dev_t device, const QString& path)
{
    if (m_reportedFileSystems.contains(device))
        return;
    m_reportedFileSystems.insert(device);
    const QString name = CopyOnWriteFileSystemOf(fd);
    if (name.isEmpty())
        return;
    const QString reason =
        QStringLiteral("%1 does not overwrite in place: the old content may stay on the disk").arg(name);
    LogError(Module, QStringLiteral("ShredFile"), ErrorNumber::PathFileAccessError, reason);
    report(ShredEvent::Kind::CopyOnWrite, path, reason);
}

void ShredEngine::LoadFolders(const QString& folderPath)
{
    if (IsSystemItem(folderPath)) {
        report(ShredEvent::Kind::Refused, folderPath, QStringLiteral("a system item"));
        return;
    }
    const ParentFolder parent = ParentFolder::open(folderPath, true);
    if (!parent.isOpen()) {
        logFailure(QStringLiteral("LoadFolders"), parent.error(), folderPath);
        report(ShredEvent::Kind::FolderKept, folderPath, errorText(parent.error()));
        return;
    }
    struct stat info
    {
    };
    if (::fstatat(parent.fd(), parent.name().constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(info.st_mode)) {
        shredAt(parent.fd(), parent.name(), folderPath, QFile::decodeName(parent.name()));
        return;
    }
    walk(parent.fd(), parent.name(), QDir::cleanPath(folderPath));
}

void ShredEngine::walk(int parentFd, const QByteArray& name, const QString& path)
{
    const FileDescriptor folder(
        ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat self
    {
    };
    if (!folder.isValid() || ::fstat(folder.get(), &self) != 0) {
        const int error = errno;
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, errorText(error));
        return;
    }
    if (isOtherMount(parentFd, name.constData(), self.st_dev)) {
        report(ShredEvent::Kind::Refused, path, QStringLiteral("another file system, not entered"));
        return;
    }
    int error = 0;
    const QList<Entry> entries = listFolder(folder.get(), &error);
    if (error != 0) {
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, errorText(error));
        return;
    }

    for (const Entry& entry : entries) {
        if (entry.type == S_IFDIR)
            continue;
        m_window.yield();
        if (stopTest())
            break;
        const QString entryPath = childPath(path, entry.name);
        if (entry.type == S_IFREG || entry.type == S_IFLNK)
            shredAt(folder.get(), entry.name, entryPath, QFile::decodeName(entry.name));
        else
            report(ShredEvent::Kind::Refused, entryPath, kindOf(entry.type));
        m_window.yield();
    }
    for (const Entry& entry : entries) {
        if (entry.type != S_IFDIR)
            continue;
        m_window.yield();
        if (stopTest())
            break;
        const QString entryPath = childPath(path, entry.name);
        if (entry.otherMount)
            report(ShredEvent::Kind::Refused, entryPath, QStringLiteral("another file system, not entered"));
        else
            walk(folder.get(), entry.name, entryPath);
        m_window.yield();
    }
    if (m_window.caption(Caption::lblstatus) != RunCaption::Stopped)
        removeFolder(parentFd, folder.get(), name, path);
    m_window.yield();
}

// Renames the emptied folder to its first character and as many capitals as its name has
// characters, then removes it. A folder that still holds something (a queued file, a refused
// item, another file system) keeps its name, so that the queued paths inside it stay valid.
void ShredEngine::removeFolder(int parentFd, int folderFd, const QByteArray& name, const QString& path)
{
    int error = 0;
    if (!listFolder(folderFd, &error).isEmpty())
        error = ENOTEMPTY;
    QByteArray newName;
    if (error == 0) {
        const QString decoded = QFile::decodeName(name);
        const QByteArray first = QFile::encodeName(decoded.left(decoded.at(0).isHighSurrogate() ? 2 : 1));
        error = renameToRandom(parentFd, name, first, decoded.length(), &newName);
    }
    if (error == 0) {
        syncFolder(parentFd);
        error = ::unlinkat(parentFd, newName.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
        syncFolder(parentFd);
    }
    if (error != 0) {
        logFailure(QStringLiteral("LoadFolders"), error, path);
        report(ShredEvent::Kind::FolderKept, path, errorText(error));
    }
}

bool ShredEngine::stopTest()
{
    if (m_window.caption(Caption::lblstatus) != RunCaption::Stopped)
        return false;
    m_window.setCaption(Caption::lblshred, RunCaption::Stopping);
    m_window.setCaption(Caption::lblPrompt, RunCaption::Stopping);
    m_window.yield();
    return true;
}

void ShredEngine::report(ShredEvent::Kind kind, const QString& path, const QString& reason)
{
    if (m_eventHandler)
        m_eventHandler({kind, path, reason});
}

void ShredEngine::logFailure(const QString& procedure, int error, const QString& path)
{
    LogError(Module, procedure, errorNumber(error), errorText(error) + QStringLiteral(": ") + path);
}
