#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

// The small file-system steps the engine is built from, each kept to what it needs so that the
// engine's procedures read as their order of work.
namespace EngineFiles {
// strerror's text.
QString errorText(int error);
// The number errlog.dat records for an errno value.
long errorNumber(int error);
// Why a path whose folder could not be reached is not shredded; empty when the failure is one
// a later try may get past (the path is queued then).
QString unreachableReason(int error);
// What a refused item is, by its type bits.
QString kindOf(mode_t type);

// The path of the entry name inside folder.
QString childPath(const QString& folder, const QByteArray& name);
// The path of another name in the same folder as path.
QString siblingPath(const QString& path, const QByteArray& name);

// The path of name in the folder as the kernel knows the folder now (its /proc/self/fd link),
// links among the folders resolved; fallback where that cannot be read (a path too long).
QString realPath(int folderFd, const QByteArray& name, const QString& fallback);

// True while name in the folder is still the item with info's device and inode.
bool isSameItem(int folderFd, const QByteArray& name, const struct stat& info);

// renameat2 with RENAME_NOREPLACE (a test first where the file system lacks it). 0 or errno.
int renameNoReplace(int folderFd, const QByteArray& from, const QByteArray& to);

// True when the file or its folder is immutable or append-only (chattr +i, +a): locked, not
// forbidden, since its owner or the administrator may lift the flag.
bool isLockedByFlag(int folderFd, const QByteArray& name);

// True when name in the folder is the root of another mount: a file system of its own or a
// bind mount. Such an item was not chosen with the folder around it.
bool isOtherMount(int folderFd, const char* name, dev_t device);

struct Entry
{
    QByteArray name;
    mode_t type;
    bool otherMount;
};
// The folder's entries, sorted by name so that a walk is repeatable; *error 0 or errno.
QList<Entry> listFolder(int folderFd, int* error);
} // namespace EngineFiles
