#pragma once

#include "platform/ParentFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Contents come from a seeded generator, so that finding a piece of one on a disk means something.
namespace TestFiles {
inline QByteArray seededBytes(qint64 length, quint32 seed)
{
    QByteArray bytes(length, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), qsizetype(length / 4));
    for (qint64 i = length / 4 * 4; i < length; ++i)
        bytes[i] = char(generator.generate());
    return bytes;
}

// Written and synced, so that the bytes are on the disk before anything shreds them.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           ::fsync(file.handle()) == 0;
}

// Each file (a path below root) with its folders, holding content.
inline bool writeTree(const QString& root, const QStringList& files, const QByteArray& content = "x")
{
    for (const QString& file : files) {
        const QString path = root + QLatin1Char('/') + file;
        if (!QDir().mkpath(QFileInfo(path).path()) || !writeFile(path, content))
            return false;
    }
    return true;
}

// Root passes every permission check: only another user meets the modes the engine must cope with.
constexpr uid_t Nobody = 65534;
inline bool giveToNobody(const QStringList& items)
{
    return std::all_of(items.begin(), items.end(), [](const QString& item) {
        return ::chown(QFile::encodeName(item).constData(), Nobody, Nobody) == 0;
    });
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Also true for a dangling link, a name that is not UTF-8, and a path of any length.
inline bool exists(const QString& path)
{
    const ParentFolder parent = ParentFolder::open(path, true);
    struct stat info = {};
    return parent.isOpen() &&
           ::fstatat(parent.fd(), parent.name().constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// 18 nested folders of 240 characters (past any path the system takes), "last" at the bottom.
inline QString makeDeepFolder(const QString& base)
{
    const QByteArray component(240, 'd');
    int fd = ::open(QFile::encodeName(base).constData(), O_DIRECTORY | O_CLOEXEC);
    QString deep = base;
    for (int level = 0; level < 18 && fd >= 0; ++level) {
        ::mkdirat(fd, component.constData(), 0700);
        const int next = ::openat(fd, component.constData(), O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        deep += QLatin1Char('/') + QString::fromLatin1(component);
    }
    const int file = fd < 0 ? -1 : ::openat(fd, "last", O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    const bool written = file >= 0 && ::write(file, "secret", 6) == 6;
    if (file >= 0)
        ::close(file);
    if (fd >= 0)
        ::close(fd);
    return written ? deep : QString();
}

// The immutable flag (root only): what a file that cannot be overwritten looks like.
inline bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}
} // namespace TestFiles

using TestFiles::exists;
using TestFiles::readFile;
using TestFiles::seededBytes;
using TestFiles::writeFile;
