#pragma once

#include <QString>
#include <QStringList>

class ShredEngine;

// The queue of files to delete at the next start: the file "pending-deletions" in the
// application folder, one absolute path a line. Control characters and "%" in a path are
// written as %XX, so every name (newlines included) survives; lines that do not start with
// "/" are comments. Paths are appended as they fail, so a run that queues many files does not
// rewrite the queue for each one; the start that works through it writes it once.
namespace PendingDeletions {
QString queueFile();
// The queued paths in order, each once.
QStringList load();
// Writes the queue in one piece (a crash leaves the old or the new queue, never half of one).
bool save(const QStringList& paths);
QByteArray encodeLine(const QString& path);
QString decodeLine(const QByteArray& line);
} // namespace PendingDeletions

// Queues a file for deletion at the next start. Returns false, and logs under
// modShred:DeleteAfterReboot, when the queue cannot be written.
bool DeleteAfterReboot(const QString& path);

// Works through the queue when the program starts: each path that is still a regular file,
// reached without following a link and not a system item, is shredded with the current method
// (Shared().FastShred and NumOverwrite); every path leaves the queue except those whose shred
// failed again. Call it once the option settings are loaded.
void ProcessPendingDeletions(ShredEngine& engine);
