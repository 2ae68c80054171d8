#pragma once

#include "BlockWriter.h"
#include "LetterSource.h"
#include "ShredPasses.h"
#include "ShredWindow.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>
#include <sys/types.h>

// What the engine has to tell besides the captions: items it would not touch, files queued for
// deletion at the next start, folders it had to leave, and file systems where overwriting in
// place does not reach the old blocks (said once per file system).
struct ShredEvent
{
    enum class Kind
    {
        Refused,
        Queued,
        FolderKept,
        CopyOnWrite
    };
    Kind kind;
    QString path;
    QString reason;
};

// How one file ended.
enum class ShredOutcome
{
    Destroyed, // overwritten, renamed and deleted (a symbolic link: removed as a link)
    Queued,    // could not be finished; queued for deletion at the next start
    Refused    // not a regular file (a FIFO, socket or device is never opened), or gone
};

// The shred engine: one file (ShredFile) and a folder tree (LoadFolders), with the passes of the
// method in Shared().FastShred repeated Shared().NumOverwrite times. It runs on the
// user-interface thread and yields to the window very often; a stop request is the caption
// "Stopping" of lblshred, and a completed stop is "Stopped" in lblstatus (the caller sets
// lblstatus to "Shredding" before it starts).
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

    // Overwrites, renames and deletes one file. fileName is the name the caller lists the file
    // under; the new name has as many capitals as it has characters. Any failure queues the
    // path for deletion at the next start and sets Shared().LockedFilesFound. A symbolic link
    // is removed as a link; system items are refused untouched.
    void ShredFile(const QString& path, const QString& fileName);

    // Shreds a folder tree depth-first, the files of a folder before its subfolders, then
    // renames the emptied folder (one character longer) and removes it. Links inside are
    // removed as links, other file systems are not entered, FIFOs, sockets and devices are
    // reported and left alone; a folder that is not empty at the end is kept and logged.
    void LoadFolders(const QString& folderPath);

    // A path from the pending-deletions queue: shredded like ShredFile only while it is still a
    // regular file reached without following any link and not a system item.
    ShredOutcome shredPendingFile(const QString& path);

private:
    ShredOutcome shredAt(int folderFd, const QByteArray& name, const QString& path, const QString& fileName);
    int overwriteAndRemove(int folderFd, const QByteArray& name, const QString& path, const QString& fileName,
                           ShredOutcome* outcome, QByteArray* leftName);
    int runPasses(int fd, qint64 length);
    int writePattern(int fd, const QByteArray& buffer, const BlockLayout& layout, qint64 originalLength,
                     qint64* writeLimit, qint64* blocksWritten);
    void releaseInSteps(int fd);
    QByteArray patternBuffer(Pattern pattern, qint32 blockSize);
    int renameToRandom(int folderFd, const QByteArray& name, const QByteArray& prefix, int letters,
                       QByteArray* newName);
    void reportFileSystem(int fd, dev_t device, const QString& path);

    void walk(int parentFd, const QByteArray& name, const QString& path);
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
    std::function<void()> m_stopShred;
    std::function<void(const ShredEvent&)> m_eventHandler;
    QSet<dev_t> m_reportedFileSystems;
};
