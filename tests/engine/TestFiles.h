#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QString>

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
} // namespace TestFiles

using TestFiles::exists;
using TestFiles::readFile;
using TestFiles::seededBytes;
using TestFiles::writeFile;
