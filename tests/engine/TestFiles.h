#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Files for the engine's tests. Contents come from a seeded generator, so that finding a piece
// of one on a disk means something.
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

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Also true for a dangling link, unlike QFileInfo::exists.
inline bool exists(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Sets or clears the immutable flag of a file or folder (root only): what a file that cannot
// be overwritten looks like. Returns false when the flag could not be changed.
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
