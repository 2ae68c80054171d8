#include "SystemItems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

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

QString decodeMountField(QString field)
{
    // /proc/self/mountinfo writes blanks, tabs, newlines and backslashes as octal escapes.
    field.replace(QLatin1String("\\040"), QLatin1String(" "));
    field.replace(QLatin1String("\\011"), QLatin1String("\t"));
    field.replace(QLatin1String("\\012"), QLatin1String("\n"));
    field.replace(QLatin1String("\\134"), QLatin1String("\\"));
    return field;
}

bool isListedMountPoint(const QString& path)
{
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = mounts.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && decodeMountField(QFile::decodeName(fields.at(4))) == path)
            return true;
    }
    return false;
}

// A folder on another device than its parent, or one the kernel lists as mounted.
bool isMountPoint(const QString& path, const struct stat& item)
{
    if (!S_ISDIR(item.st_mode))
        return false;
    struct stat parent
    {
    };
    const QByteArray parentPath = QFile::encodeName(QFileInfo(path).path());
    if (::lstat(parentPath.constData(), &parent) == 0 && parent.st_dev != item.st_dev)
        return true;
    return isListedMountPoint(path);
}

QString withResolvedParent(const QString& path)
{
    const QFileInfo info(path);
    const QString parent = QFileInfo(info.path()).canonicalFilePath();
    if (parent.isEmpty())
        return path;
    return parent == QLatin1String("/") ? QLatin1Char('/') + info.fileName()
                                        : parent + QLatin1Char('/') + info.fileName();
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
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (IsSystemPlace(absolute))
        return true;
    const QString resolved = withResolvedParent(absolute);
    if (resolved != absolute && IsSystemPlace(resolved))
        return true;

    struct stat item
    {
    };
    if (::lstat(QFile::encodeName(absolute).constData(), &item) != 0)
        return false;
    if (!S_ISREG(item.st_mode) && !S_ISDIR(item.st_mode) && !S_ISLNK(item.st_mode))
        return true;
    return isMountPoint(resolved, item);
}
