#include "PendingDeletions.h"

#include "common/LogError.h"
#include "platform/AppFolder.h"
#include "platform/FileDescriptor.h"
#include "platform/PathBytes.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray Header = QByteArrayLiteral("# Vanisto: files to shred at the next start\n");
}

QString PendingDeletions::queueFile()
{
    return AppFolder::file(QStringLiteral("pending-deletions"));
}

QByteArray PendingDeletions::encodeLine(const QString& path)
{
    QByteArray line;
    for (const char byte : PathBytes::encode(path)) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7F || byte == '%')
            line += '%' + QByteArray::number(code, 16).rightJustified(2, '0').toUpper();
        else
            line += byte;
    }
    return line;
}

QString PendingDeletions::decodeLine(const QByteArray& line)
{
    return PathBytes::decode(QByteArray::fromPercentEncoding(line));
}

namespace {
const QString Module = QStringLiteral("modShred");

bool hasControlBytes(const QByteArray& path)
{
    return std::any_of(path.begin(), path.end(), [](char byte) {
        const auto code = static_cast<unsigned char>(byte);
        return code < 0x20 || code == 0x7F;
    });
}

QByteArray identityText(const QueuedFile& file)
{
    return QByteArray::number(quint64(file.device)) + ':' + QByteArray::number(quint64(file.inode)) + ':' +
           QByteArray::number(file.size) + ':' + QByteArray::number(file.modified);
}

// One line of the queue; false for a line that is not a usable entry.
bool parseLine(const QByteArray& line, QueuedFile* file)
{
    const QList<QByteArray> fields = line.split('\t');
    const QList<QByteArray> identity = fields.size() == 2 ? fields.at(1).split(':') : QList<QByteArray>();
    const QByteArray path = QByteArray::fromPercentEncoding(fields.first());
    if (identity.size() != 4 || hasControlBytes(path))
        return false;
    bool ok[4] = {};
    file->path = PathBytes::decode(path);
    file->device = dev_t(identity.at(0).toULongLong(&ok[0]));
    file->inode = ino_t(identity.at(1).toULongLong(&ok[1]));
    file->size = identity.at(2).toLongLong(&ok[2]);
    file->modified = identity.at(3).toLongLong(&ok[3]);
    return ok[0] && ok[1] && ok[2] && ok[3];
}

QByteArray lineOf(const QueuedFile& file)
{
    return PendingDeletions::encodeLine(file.path) + '\t' + identityText(file) + '\n';
}
} // namespace

QueuedFile QueuedFile::of(const QString& path, const struct stat& info)
{
    return {path, info.st_dev, info.st_ino, qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool QueuedFile::isSameAs(const struct stat& info) const
{
    const QueuedFile now = of(path, info);
    return now.device == device && now.inode == inode && now.size == size && now.modified == modified;
}

QList<QueuedFile> PendingDeletions::entries()
{
    QFile file(queueFile());
    QList<QueuedFile> files;
    if (!file.open(QIODevice::ReadOnly))
        return files;
    QHash<QString, qsizetype> index;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith('/'))
            continue;
        QueuedFile entry;
        if (!parseLine(line, &entry)) {
            LogError(Module, QStringLiteral("ProcessPendingDeletions"), ErrorNumber::PathFileAccessError,
                     QStringLiteral("a pending-deletions entry that is not a usable file was dropped: ") +
                         QString::fromLatin1(line.left(200)));
            continue;
        }
        if (index.contains(entry.path)) {
            files[index.value(entry.path)] = entry;
        } else {
            index.insert(entry.path, files.size());
            files.append(entry);
        }
    }
    return files;
}

QStringList PendingDeletions::load()
{
    QStringList paths;
    for (const QueuedFile& file : entries())
        paths.append(file.path);
    return paths;
}

bool PendingDeletions::save(const QList<QueuedFile>& files)
{
    QSaveFile file(queueFile());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QByteArray text = Header;
    for (const QueuedFile& queued : files)
        text += lineOf(queued);
    file.write(text);
    return file.commit();
}

namespace {
// One line added to the end of the queue in one write. A line cut short by a crash gets its
// line end first, so that the next entry never joins it.
bool appendLine(const QByteArray& line)
{
    const FileDescriptor queue(::open(PathBytes::encode(PendingDeletions::queueFile()).constData(),
                                      O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!queue.isValid())
        return false;
    struct stat info
    {
    };
    if (::fstat(queue.get(), &info) != 0)
        return false;
    QByteArray text = info.st_size == 0 ? Header : QByteArray();
    char last = '\n';
    if (info.st_size > 0 && ::pread(queue.get(), &last, 1, info.st_size - 1) == 1 && last != '\n')
        text += '\n';
    text += line;
    return ::write(queue.get(), text.constData(), size_t(text.size())) == text.size() &&
           ::fdatasync(queue.get()) == 0;
}
} // namespace

bool DeleteAfterReboot(const QString& path, const struct stat& info)
{
    const QString absolute =
        QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    if (!hasControlBytes(PathBytes::encode(absolute)) && appendLine(lineOf(QueuedFile::of(absolute, info))))
        return true;
    LogError(Module, QStringLiteral("DeleteAfterReboot"), ErrorNumber::PathFileAccessError,
             QStringLiteral("cannot queue for the next start: ") + PathBytes::readable(absolute));
    return false;
}
