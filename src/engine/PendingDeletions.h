#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// A file as it was when it was queued. At the next start only that very file is shredded: a
// new file saved under the same name meanwhile is another file and is left alone.
struct QueuedFile
{
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch

    static QueuedFile of(const QString& path, const struct stat& info);
    bool isSameAs(const struct stat& info) const;
};

// The queue of files to delete at the next start: the file "pending-deletions" in the
// application folder, one file a line: its absolute path, a tab, and its identity
// ("device:inode:size:modified"). "%" and control characters in a path are written as %XX, so
// a line never holds a raw tab or line end of a name; lines that do not start with "/" are
// comments. Failures are appended as they come, so a run that queues many files does not
// rewrite the queue for each one; the start that works through it writes it once.
namespace PendingDeletions {
QString queueFile();
// The queued files in order, each path once (with its latest identity). A line without an
// identity, or whose path holds a control character (a NUL above all, which would cut the
// path short), is logged and left out.
QList<QueuedFile> entries();
// Only the paths of entries().
QStringList load();
// Writes the queue in one piece (a crash leaves the old or the new queue, never half of one).
bool save(const QList<QueuedFile>& files);
QByteArray encodeLine(const QString& path);
QString decodeLine(const QByteArray& line);
} // namespace PendingDeletions

// Queues a file for deletion at the next start, with its identity. Returns false, and logs
// under modShred:DeleteAfterReboot, when the path holds a control character or the queue
// cannot be written.
bool DeleteAfterReboot(const QString& path, const struct stat& info);
