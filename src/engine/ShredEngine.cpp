#include "ShredEngine.h"

#include "EngineFiles.h"
#include "FileSystemKind.h"
#include "PendingDeletions.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "platform/ParentFolder.h"
#include "platform/PathBytes.h"
#include "platform/SystemItems.h"

#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Module = QStringLiteral("modShred");
// Names are drawn this often at one length before the length grows by one: in a folder that
// holds every name of the length (all 26 one-letter names, say), a rename must still succeed.
constexpr int DrawsPerLength = 8;
constexpr int RenameAttempts = 64;
constexpr qint64 ReleaseStep = 32 * 1024 * 1024;
// How many blocks are written between two looks at the lease (1 MiB of full blocks).
// A megabyte of full blocks in one call; the lease is looked at after each.
constexpr qint64 BlocksPerWrite = 128;

bool isDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// The blocks of the layout that hold data, as inclusive ranges of block numbers: a hole of a
// sparse file is never written, so a file larger than the free space does not fill the disk.
QList<std::pair<qint64, qint64>> blocksToWrite(const BlockLayout& layout, const QList<DataRange>& ranges,
                                               qint64 length)
{
    QList<std::pair<qint64, qint64>> blocks;
    if (length == 0) {
        blocks.append({0, 0}); // one empty write
        return blocks;
    }
    for (const DataRange& range : ranges) {
        const qint64 first = range.begin / layout.BlockSize;
        const qint64 last = qMin(layout.lastBlock, (range.end - 1) / layout.BlockSize);
        if (first > last)
            continue;
        if (!blocks.isEmpty() && first <= blocks.last().second + 1)
            blocks.last().second = qMax(blocks.last().second, last);
        else
            blocks.append({first, last});
    }
    // Whole blocks make a file grow past its end; only data that reaches the end grows, a
    // file that ends in a hole keeps its length.
    if (!blocks.isEmpty() && ranges.last().end >= length)
        blocks.last().second = layout.lastBlock;
    return blocks;
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
    const ParentFolder parent = ParentFolder::open(path, true);
    const QString refusal = parent.isOpen() ? SystemItemReason(parent.fd(), parent.name())
                                            : EngineFiles::unreachableReason(parent.error());
    if (!refusal.isEmpty()) {
        // The run has already said "Shredding" in lblstatus2; no file is in progress after all.
        report(ShredEvent::Kind::Refused, path, refusal);
        finishFile();
        return;
    }
    if (!parent.isOpen()) {
        // The file's folder is out of reach: nothing was written, and nothing there can be
        // identified for a later try.
        logFailure(QStringLiteral("ShredFile"), parent.error(), path);
        report(ShredEvent::Kind::Failed, path, EngineFiles::errorText(parent.error()));
        finishFile();
        return;
    }
    shredAt(parent.fd(), parent.name(), path, fileName);
}

ShredOutcome ShredEngine::shredPendingFile(const QueuedFile& queued)
{
    const QString& path = queued.path;
    // Thousands of entries that lead nowhere must not keep the window and the relay waiting.
    m_window.yield();
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
    // What is there now is not the file that was queued: leave it as it is.
    QString refusal;
    if (!S_ISREG(info.st_mode))
        refusal = S_ISDIR(info.st_mode) ? QStringLiteral("a folder, where a file was queued")
                                        : QStringLiteral("not a regular file any more");
    else if (!queued.isSameAs(info))
        refusal = QStringLiteral("another file has this name now");
    else
        refusal = SystemItemReason(parent.fd(), parent.name());
    if (!refusal.isEmpty()) {
        LogError(Module, QStringLiteral("ProcessPendingDeletions"), ErrorNumber::PathFileAccessError,
                 refusal + QStringLiteral(", left alone: ") + PathBytes::readable(path));
        return ShredOutcome::Refused;
    }
    return shredAt(parent.fd(), parent.name(), path, PathBytes::decode(parent.name()), &info);
}

void ProcessPendingDeletions(ShredEngine& engine)
{
    QSet<QString> done;
    for (const QueuedFile& file : PendingDeletions::entries())
        if (engine.shredPendingFile(file) != ShredOutcome::Queued)
            done.insert(file.path);
    engine.FinishRun();
    // Written once: what failed again was appended meanwhile with its new identity and stays,
    // with every path that a crash before this point would simply try again.
    QList<QueuedFile> queue = PendingDeletions::entries();
    queue.removeIf([&](const QueuedFile& file) { return done.contains(file.path); });
    PendingDeletions::save(queue);
}

ShredOutcome ShredEngine::shredAt(int folderFd, const QByteArray& name, const QString& path,
                                  const QString& fileName, const struct stat* expected)
{
    m_window.setCaption(Caption::lblstatus2, RunCaption::Shredding);
    m_window.yield();
    m_window.setCaption(Caption::lblPrompt, ShredPasses::shreddingPrompt(PathBytes::readable(fileName)));

    ShredOutcome outcome = ShredOutcome::Destroyed;
    QByteArray leftName = name;
    struct stat checked
    {
    };
    const int error =
        overwriteAndRemove(folderFd, name, path, fileName, expected, &outcome, &leftName, &checked);
    if (outcome == ShredOutcome::Refused) {
        struct stat item
        {
        };
        ::fstatat(folderFd, name.constData(), &item, AT_SYMLINK_NOFOLLOW);
        report(ShredEvent::Kind::Refused, path,
               error == 0 ? EngineFiles::kindOf(item.st_mode) : QStringLiteral("a mount point"));
    } else if (error != 0) {
        // The file may have been renamed before the failure: it is where it is now.
        const QString now = leftName == name ? path : EngineFiles::siblingPath(path, leftName);
        outcome = queueFailure(folderFd, leftName, now, error, checked);
    }
    finishFile();
    return outcome;
}

// A failure that a later start may get past (the file in use, locked, a read-only mount, an
// error of the disk) queues the file as it is now; one that would fail again at every start
// (no permission, a full disk) or a file that changed under the engine is reported instead.
ShredOutcome ShredEngine::queueFailure(int folderFd, const QByteArray& name, const QString& path, int error,
                                       const struct stat& checked)
{
    QString reason = EngineFiles::errorText(error);
    struct stat info
    {
    };
    // Only the file the engine checked is queued: a name swapped meanwhile is not its own.
    const bool isFile = ::fstatat(folderFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISREG(info.st_mode) && info.st_dev == checked.st_dev &&
                        info.st_ino == checked.st_ino;
    // EPERM is "locked" only for a flagged file or folder; the flag is only asked of the checked
    // file, which is never a device that opening could disturb.
    const bool lasting = isDiskFull(error) || error == EACCES || error == ESTALE ||
                         (error == EPERM && !(isFile && EngineFiles::isLockedByFlag(folderFd, name)));
    if (isDiskFull(error))
        reason = QStringLiteral("the disk is full: ") + reason;
    // Queued where it really is, so that the next start, which follows no link, finds it.
    if (!lasting && isFile && DeleteAfterReboot(EngineFiles::realPath(folderFd, name, path), info)) {
        Shared().LockedFilesFound = true;
        report(ShredEvent::Kind::Queued, path, reason);
        return ShredOutcome::Queued;
    }
    if (!lasting)
        reason += QStringLiteral(", and it could not be queued for the next start");
    logFailure(QStringLiteral("ShredFile"), error, path);
    report(ShredEvent::Kind::Failed, path, reason);
    return ShredOutcome::Failed;
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
// regular files (never opened) or lie on another mount (EXDEV), *leftName the name the file has
// when the failure came, *checked the file as it was found.
int ShredEngine::overwriteAndRemove(int folderFd, const QByteArray& name, const QString& path,
                                    const QString& fileName, const struct stat* expected,
                                    ShredOutcome* outcome, QByteArray* leftName, struct stat* checked)
{
    struct stat& listed = *checked;
    if (::fstatat(folderFd, name.constData(), &listed, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (expected && (listed.st_dev != expected->st_dev || listed.st_ino != expected->st_ino))
        return ESTALE;
    if (S_ISLNK(listed.st_mode)) {
        // A link is removed as a link: what it points to was not chosen.
        if (const int error = removeName(folderFd, name, 0))
            return error;
        waitForDisk([&] { return m_writer->syncFolder(folderFd, folderFd); });
        return 0;
    }
    if (!S_ISREG(listed.st_mode)) {
        *outcome = ShredOutcome::Refused;
        return 0;
    }
    if (EngineFiles::isOtherMount(folderFd, name.constData(), listed.st_dev)) {
        *outcome = ShredOutcome::Refused;
        return EXDEV;
    }
    if (listed.st_nlink > 1) {
        *outcome = ShredOutcome::NameRemoved;
        return removeOtherName(folderFd, name, listed, path);
    }

    OpenedFile file;
    if (const int error = file.open(folderFd, name, listed))
        return error;
    // A file that is not shredded after all keeps the mode it had.
    auto keepMode = qScopeGuard([&file] { file.restoreMode(); });
    int flags = 0;
    if (::ioctl(file.fd(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)))
        return EPERM;
    // The link count again, now that the checked file is open: a name made meanwhile counts.
    if (file.info().st_nlink > 1) {
        *outcome = ShredOutcome::NameRemoved;
        return removeOtherName(folderFd, name, file.info(), path);
    }
    if (const int error = file.takeLease())
        return error;
    checkOverwriteReaches(file, path);
    keepMode.dismiss();

    if (const int error = runPasses(file))
        return error;
    m_window.setBarValue(Bar::baredit, 0);
    m_window.setBarValue(Bar::bareditsmall, 0);
    m_window.yield();
    if (file.leaseBroken())
        return EBUSY;

    // The file stays open across the rename, so that a large one can be handed back to the file
    // system in steps (see releaseInSteps) before its name goes.
    const int letters = fileName.isEmpty() ? PathBytes::decode(name).length() : fileName.length();
    QByteArray newName;
    if (!EngineFiles::isSameItem(folderFd, name, file.info()))
        return ESTALE;
    if (const int error = renameToRandom(folderFd, name, QByteArray(), letters, &newName))
        return error;
    *leftName = newName;
    waitForDisk([&] { return m_writer->syncFolder(folderFd, file.fd()); });
    m_window.yield();
    releaseInSteps(file.fd());
    m_namesRemoved.remove({file.info().st_dev, file.info().st_ino});
    // Closed before its name goes, the file's last blocks are freed with the name in one step
    // of the file system's journal. Only a folder that cannot be synced itself needs the file
    // open after that, to sync its file system through.
    const bool folderSyncs = !(::fcntl(folderFd, F_GETFL) & O_PATH);
    const struct stat identity = file.info();
    if (folderSyncs)
        waitForDisk([&file] {
            file.close();
            return 0;
        });
    if (!EngineFiles::isSameItem(folderFd, newName, identity))
        return ESTALE;
    if (const int error = removeName(folderFd, newName, 0))
        return error;
    if (const int error =
            waitForDisk([&] { return m_writer->syncFolder(folderFd, folderSyncs ? folderFd : file.fd()); }))
        logFailure(QStringLiteral("ShredFile"), error, path);
    return 0;
}

// A file with another name keeps its content for that name: overwriting it would destroy what
// the user did not choose, so only this name goes. Once the run removes the last of its names
// elsewhere, that name finds one link and the content is destroyed then.
int ShredEngine::removeOtherName(int folderFd, const QByteArray& name, const struct stat& listed,
                                 const QString& path)
{
    if (const int error = removeName(folderFd, name, 0))
        return error;
    waitForDisk([&] { return m_writer->syncFolder(folderFd, folderFd); });
    m_namesRemoved[{listed.st_dev, listed.st_ino}].append(path);
    return 0;
}

void ShredEngine::FinishRun()
{
    for (const QStringList& names : std::as_const(m_namesRemoved))
        for (const QString& path : names) {
            const QString reason = QStringLiteral("only this name was removed: the content lives on under "
                                                  "another name of the same file");
            LogError(Module, QStringLiteral("ShredFile"), ErrorNumber::PathFileAccessError,
                     reason + QStringLiteral(": ") + path);
            report(ShredEvent::Kind::ContentKept, path, reason);
        }
    m_namesRemoved.clear();
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
        if (waitForDisk([fd, size] { return ::ftruncate(fd, size) == 0 ? 0 : errno; }) != 0)
            return;
        m_window.yield();
    }
}

int ShredEngine::runPasses(OpenedFile& file)
{
    const qint64 length = file.info().st_size;
    const BlockLayout layout = ShredPasses::blockLayout(length);
    const QList<DataRange> ranges = file.dataRanges();
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
    int patternsOnDisk = 0;
    for (qint32 pass = 1; pass <= state.NumOverwrite; ++pass) {
        for (const Pattern pattern : patterns) {
            const QByteArray buffer = patternBuffer(pattern, layout.BlockSize);
            m_window.yield();
            if (const int error = writePattern(file, buffer, layout, ranges, &writeLimit, &blocksWritten))
                return error;
            if (const int error = waitForDisk([this, &file] { return m_writer->syncPattern(file.fd()); }))
                return error;
            ++patternsOnDisk;
            m_window.yield();
        }
    }
    // Whatever the settings say, a file is never called destroyed without one pattern on the disk.
    return patternsOnDisk > 0 ? 0 : ECANCELED;
}

// Writes one pattern over every block that holds data, a megabyte at a time; a hole is passed
// over, its blocks still counted for the bars.
int ShredEngine::writePattern(OpenedFile& file, const QByteArray& buffer, const BlockLayout& layout,
                              const QList<DataRange>& ranges, qint64* writeLimit, qint64* blocksWritten)
{
    const qint64 patternStart = *blocksWritten;
    for (const auto& [first, last] : blocksToWrite(layout, ranges, file.info().st_size)) {
        *blocksWritten = patternStart + first;
        for (qint64 block = first; block <= last; block += BlocksPerWrite) {
            const qint64 count = qMin(BlocksPerWrite, last - block + 1);
            m_window.yield();
            if (const int error = writeBlocks(file.fd(), buffer, block * layout.BlockSize, count,
                                              file.info().st_size, writeLimit))
                return error;
            *blocksWritten += count;
            m_window.setBarValue(Bar::baredit, *blocksWritten);
            m_window.setBarValue(Bar::bareditsmall, *blocksWritten);
            if (file.leaseBroken())
                return EBUSY;
            // Only a hint to the disk: the pattern's sync is what must succeed.
            waitForDisk([this, &file] { return m_writer->settle(file.fd()); });
        }
    }
    *blocksWritten = patternStart + layout.blockCount();
    return 0;
}

// A disk that fills up while the file grows past its original end does not stop the shred: the
// old content is covered by then, so the file simply stops growing (*writeLimit) for the
// remaining patterns. A disk full inside the old content stops the file.
int ShredEngine::writeBlocks(int fd, const QByteArray& buffer, qint64 offset, qint64 count,
                             qint64 originalLength, qint64* writeLimit)
{
    const qint64 length = qMin<qint64>(count * buffer.size(), qMax<qint64>(*writeLimit - offset, 0));
    if (length == 0 && !buffer.isEmpty())
        return 0;
    qint64 written = 0;
    int error = m_writer->writeBlocks(fd, buffer, length, offset, &written);
    const bool full = isDiskFull(error);
    const qint64 end = offset + written;
    if (full && end < originalLength && offset + length > originalLength) {
        // The file system may refuse a whole write rather than its growing part.
        qint64 more = 0;
        error = m_writer->writeBlocks(fd, buffer, originalLength - end, end, &more);
        written += more;
    }
    if (error != 0 && (!isDiskFull(error) || offset + written < originalLength))
        return error;
    if (full)
        *writeLimit = offset + written;
    return 0;
}

int ShredEngine::waitForDisk(const std::function<int()>& call)
{
    return m_diskWaits.run(call, [this] { m_window.yield(); });
}

// Freeing a name can wait on the file system's journal for a tenth of a second when another
// program keeps the disk busy: it runs beside the window too.
int ShredEngine::removeName(int folderFd, const QByteArray& name, int flags)
{
    return waitForDisk([&] { return ::unlinkat(folderFd, name.constData(), flags) == 0 ? 0 : errno; });
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

// Renames name to prefix + letters random capitals, never over an existing item. A taken name
// is drawn again; after a few draws at one length the name grows by a letter, so a folder full
// of short names cannot make the rename fail for ever.
int ShredEngine::renameToRandom(int folderFd, const QByteArray& name, const QByteArray& prefix, int letters,
                                QByteArray* newName)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < RenameAttempts && error == EEXIST; ++attempt) {
        QByteArray candidate = prefix;
        const int length = letters + attempt / DrawsPerLength;
        for (int i = 0; i < length; ++i) {
            candidate.append(m_letters->letter());
            m_window.yield();
        }
        // A name one character longer than the longest allowed one keeps the longest length.
        candidate.truncate(NAME_MAX);
        error = waitForDisk([&] { return EngineFiles::renameNoReplace(folderFd, name, candidate); });
        if (error == 0)
            *newName = candidate;
    }
    return error;
}

// Said once per file system (and once per file whose blocks are shared): the file is still
// shredded, its name and live content go, but the old blocks may stay on the disk.
void ShredEngine::checkOverwriteReaches(const OpenedFile& file, const QString& path)
{
    const dev_t device = file.info().st_dev;
    if (!m_fileSystems.contains(device))
        m_fileSystems.insert(device, FileSystemKindOfFile(file.fd()));
    const FileSystemKind& kind = m_fileSystems[device];
    const QString& fileSystem = kind.copyOnWrite;
    QString reason = kind.sharesBlocks ? file.sharedBlocksReason() : QString();
    const bool inPlace =
        fileSystem.isEmpty() || (fileSystem == QLatin1String("btrfs") && file.writesInPlace());
    if (reason.isEmpty() && !inPlace && !m_reportedFileSystems.contains(device)) {
        m_reportedFileSystems.insert(device);
        reason = QStringLiteral("%1 does not overwrite in place: the old content may stay on the disk")
                     .arg(fileSystem);
    }
    if (reason.isEmpty())
        return;
    m_copyOnWriteFound = true;
    LogError(Module, QStringLiteral("ShredFile"), ErrorNumber::PathFileAccessError,
             reason + QStringLiteral(": ") + path);
    report(ShredEvent::Kind::CopyOnWrite, path, reason);
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
    LogError(Module, procedure, EngineFiles::errorNumber(error),
             EngineFiles::errorText(error) + QStringLiteral(": ") + path);
}
