#pragma once

#include "BlockWriter.h"
#include "DiskWaits.h"
#include "FileSystemKind.h"
#include "LetterSource.h"
#include "OpenedFile.h"
#include "PendingDeletions.h"
#include "ShredPasses.h"
#include "ShredWindow.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <sys/types.h>

// What the engine has to tell besides the captions: items it would not touch, files queued for
// deletion at the next start, folders it had to leave, files whose content lives on under a
// name outside the run, files it could neither finish nor queue, and file systems where
// overwriting in place does not reach the old blocks.
struct ShredEvent
{
    enum class Kind
    {
        Refused,
        Queued,
        FolderKept,
        ContentKept,
        Failed,
        CopyOnWrite
    };
    Kind kind;
    QString path;
    QString reason;
};

// How one file ended.
enum class ShredOutcome
{
    Destroyed,   // overwritten, renamed and deleted (a symbolic link: removed as a link)
    NameRemoved, // a name of a file that has others: the name went, the content waits for them
    Queued,      // could not be finished; queued for deletion at the next start
    Failed,      // could not be finished, and queueing would not help or did not work
    Refused      // not a regular file (a FIFO, socket or device is never opened), or gone
};

// The shred engine: one file (ShredFile) and a folder tree (LoadFolders), with the passes of the
// method in Shared().FastShred repeated Shared().NumOverwrite times. It runs on the
// user-interface thread and yields to the window very often; a stop request is the caption
// "Stopping" of lblshred, and a completed stop is "Stopped" in lblstatus (the caller sets
// lblstatus to "Shredding" before it starts). One engine serves one run: FinishRun ends it.
class ShredEngine
{
public:
    explicit ShredEngine(ShredWindow& window);

    // The letters of the random patterns and of the new names; nullptr (the default) for the
    // operating system's random source. Not owned.
    void setLetterSource(LetterSource* letters);
    // The file layer under the passes; nullptr for the real one. Not owned.
    void setBlockWriter(BlockWriter* writer);
    // Called when a file has finished while lblshred reads "Stopping": the run's StopShred,
    // which completes the stop. Without one, the stop is completed by setting lblstatus to
    // "Stopped".
    void setStopShred(std::function<void()> stopShred);
    void setEventHandler(std::function<void(const ShredEvent&)> handler);

    // Overwrites, renames and deletes one file. The path is resolved as the kernel resolves it
    // (links among its folders followed); the item itself is never followed: a symbolic link is
    // removed as a link. fileName is the name the caller lists the file under; the new name has
    // as many capitals as it has characters. A file that cannot be finished is queued for
    // deletion at the next start and sets Shared().LockedFilesFound; system items are refused
    // untouched.
    void ShredFile(const QString& path, const QString& fileName);

    // Shreds a folder tree depth-first, the files of a folder before its subfolders, then
    // renames the emptied folder (one character longer) and removes it. Links inside are
    // removed as links, other file systems are not entered, FIFOs, sockets and devices are
    // reported and left alone; a folder that is not empty at the end is kept and logged. A
    // path that names a file or a link is shredded as one.
    void LoadFolders(const QString& folderPath);

    // A file from the pending-deletions queue: shredded like ShredFile only while the path still
    // leads, without following any link, to the very file that was queued, and it is no system
    // item.
    ShredOutcome shredPendingFile(const QueuedFile& queued);

    // Ends the run: files of which only some names were in the run are reported (ContentKept).
    void FinishRun();
    // True once a file of the run lay where overwriting cannot reach its old blocks.
    bool copyOnWriteFound() const { return m_copyOnWriteFound; }

private:
    struct FileIdentity
    {
        dev_t device;
        ino_t inode;
        bool operator==(const FileIdentity& other) const = default;
    };
    friend size_t qHash(const FileIdentity& id, size_t seed) { return qHashMulti(seed, id.device, id.inode); }

    // expected: the identity the file must have (a queued file), or nullptr.
    ShredOutcome shredAt(int folderFd, const QByteArray& name, const QString& path, const QString& fileName,
                         const struct stat* expected = nullptr);
    int overwriteAndRemove(int folderFd, const QByteArray& name, const QString& path, const QString& fileName,
                           const struct stat* expected, ShredOutcome* outcome, QByteArray* leftName,
                           struct stat* checked);
    int removeOtherName(int folderFd, const QByteArray& name, const struct stat& listed, const QString& path);
    int runPasses(OpenedFile& file);
    int writePattern(OpenedFile& file, const QByteArray& buffer, const BlockLayout& layout,
                     const QList<DataRange>& ranges, qint64* writeLimit, qint64* blocksWritten);
    int writeBlocks(int fd, const QByteArray& buffer, qint64 offset, qint64 count, qint64 originalLength,
                    qint64* writeLimit);
    int waitForDisk(const std::function<int()>& call);
    int removeName(int folderFd, const QByteArray& name, int flags);
    void releaseInSteps(int fd);
    QByteArray patternBuffer(Pattern pattern, qint32 blockSize);
    int renameToRandom(int folderFd, const QByteArray& name, const QByteArray& prefix, int letters,
                       QByteArray* newName);
    void checkOverwriteReaches(const OpenedFile& file, const QString& path);
    ShredOutcome queueFailure(int folderFd, const QByteArray& name, const QString& path, int error,
                              const struct stat& checked);

    void walk(FileDescriptor& parent, const QByteArray& name, const QString& path);
    void shredEntries(FileDescriptor& folder, const QString& path);
    void removeFolder(int parentFd, int folderFd, const QByteArray& name, const QString& path);
    bool stopTest();
    void finishFile();

    void report(ShredEvent::Kind kind, const QString& path, const QString& reason);
    void logFailure(const QString& procedure, int error, const QString& path);

    ShredWindow& m_window;
    SystemLetterSource m_systemLetters;
    LetterSource* m_letters;
    BlockWriter m_realWriter;
    BlockWriter* m_writer;
    DiskWaits m_diskWaits;
    std::function<void()> m_stopShred;
    std::function<void(const ShredEvent&)> m_eventHandler;
    // The copy-on-write file system of each device met (empty: one that writes in place), and
    // the devices already reported.
    QHash<dev_t, FileSystemKind> m_fileSystems;
    QSet<dev_t> m_reportedFileSystems;
    bool m_copyOnWriteFound = false;
    // Files with names outside what the run has reached so far: the names removed, per file.
    QHash<FileIdentity, QStringList> m_namesRemoved;
    // Set when a folder walk could not find its way back up (a folder moved meanwhile).
    bool m_walkLost = false;
    // How many folders deep the walk is.
    int m_depth = 0;
};

// Works through the queue when the program starts: each path that is still the same regular
// file, reached without following a link and not a system item, is shredded with the current
// method (Shared().FastShred and NumOverwrite); every path leaves the queue except those whose
// shred failed again. It yields through the engine's window between files, so the program
// answers meanwhile. Call it once the option settings are loaded.
void ProcessPendingDeletions(ShredEngine& engine);
