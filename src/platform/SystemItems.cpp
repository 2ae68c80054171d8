#include "SystemItems.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
bool isInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool isInOperatingSystemFolder(const QString& path)
{
    static const char* const folders[] = {"/bin", "/boot", "/dev",  "/etc", "/opt", "/proc",
                                          "/run", "/sbin", "/snap", "/srv", "/sys", "/usr"};
    for (const char* folder : folders)
        if (isInside(path, QLatin1String(folder)))
            return true;
    // /lib, /lib32, /lib64, /libx32 ...
    const QString top = path.section(QLatin1Char('/'), 1, 1);
    if (top.startsWith(QLatin1String("lib")))
        return true;
    return isInside(path, QStringLiteral("/var")) && !isInside(path, QStringLiteral("/var/tmp"));
}

// /proc/self/mountinfo writes blanks, tabs, newlines and backslashes as three octal digits.
QByteArray decodeMountField(const QByteArray& field)
{
    QByteArray decoded;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                decoded += char(code);
                i += 3;
                continue;
            }
        }
        decoded += field.at(i);
    }
    return decoded;
}

bool isListedMountPoint(const QString& path)
{
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = QFile::encodeName(path);
    const QList<QByteArray> lines = mounts.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && decodeMountField(fields.at(4)) == wanted)
            return true;
    }
    return false;
}

// The kernel says so when it can (bind mounts on the same device included); older kernels
// are asked through the parent's device and the mount table.
bool isMountPoint(const QByteArray& written, const QString& resolved, const struct stat& item)
{
    struct statx extended
    {
    };
    if (::statx(AT_FDCWD, written.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS,
                &extended) == 0 &&
        (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT))
        return extended.stx_attributes & STATX_ATTR_MOUNT_ROOT;
    struct stat parent
    {
    };
    const QByteArray parentPath = QFile::encodeName(QFileInfo(resolved).path());
    if (::lstat(parentPath.constData(), &parent) == 0 && parent.st_dev != item.st_dev)
        return true;
    return isListedMountPoint(resolved);
}

// The path with its existing part resolved the way the kernel walks it (links followed,
// ".." taken physically); the part that does not exist is only cleaned.
QString resolveExisting(const QString& path)
{
    QString head = path;
    QStringList tail;
    for (;;) {
        const QString canonical = QFileInfo(head).canonicalFilePath();
        if (!canonical.isEmpty())
            return QDir::cleanPath(
                tail.isEmpty() ? canonical : canonical + QLatin1Char('/') + tail.join(QLatin1Char('/')));
        const qsizetype slash = head.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return QDir::cleanPath(path);
        tail.prepend(head.mid(slash + 1));
        head.truncate(slash);
    }
}

// Where the item really is: its folder resolved, the item itself not followed, as lstat
// and unlink see it. A trailing slash or a last "." or ".." makes the kernel follow the
// item too.
QString realPlace(const QString& written)
{
    const QString name = written.section(QLatin1Char('/'), -1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return resolveExisting(written);
    const qsizetype slash = written.lastIndexOf(QLatin1Char('/'));
    const QString parent = resolveExisting(slash == 0 ? QStringLiteral("/") : written.left(slash));
    return parent == QLatin1String("/") ? QLatin1Char('/') + name : parent + QLatin1Char('/') + name;
}
} // namespace

bool IsSystemPlace(const QString& absolutePath)
{
    const QString path = QDir::cleanPath(absolutePath);
    if (path == QLatin1String("/") || path.isEmpty())
        return true;
    const QString home = QDir::cleanPath(QDir::homePath());
    if (path == home || path == QFileInfo(home).canonicalFilePath())
        return true;
    return isInOperatingSystemFolder(path);
}

bool IsSystemItem(const QString& path)
{
    if (path.isEmpty())
        return true;
    // Not cleaned: "link/.." means the link target's parent to the kernel, not ".".
    const QString written = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    if (IsSystemPlace(written))
        return true;
    const QString resolved = realPlace(written);
    if (IsSystemPlace(resolved))
        return true;

    const QByteArray encoded = QFile::encodeName(written);
    struct stat item
    {
    };
    if (::lstat(encoded.constData(), &item) != 0)
        return false;
    if (!S_ISREG(item.st_mode) && !S_ISDIR(item.st_mode) && !S_ISLNK(item.st_mode))
        return true;
    return isMountPoint(encoded, resolved, item);
}

bool IsStartMenuFolder(const QString& path)
{
    const QString menu = Registry::ReadValue(Registry::Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey,
                                             QStringLiteral("Start Menu"), QString())
                             .toString();
    return !menu.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(menu);
}
