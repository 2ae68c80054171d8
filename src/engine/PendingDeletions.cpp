#include "PendingDeletions.h"

#include "ShredEngine.h"
#include "common/LogError.h"
#include "platform/AppFolder.h"
#include "platform/FileDescriptor.h"
#include "platform/PathBytes.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

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

QStringList PendingDeletions::load()
{
    QFile file(queueFile());
    QStringList paths;
    if (!file.open(QIODevice::ReadOnly))
        return paths;
    QSet<QString> seen;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith('/'))
            continue;
        const QString path = decodeLine(line);
        if (!seen.contains(path)) {
            seen.insert(path);
            paths.append(path);
        }
    }
    return paths;
}

bool PendingDeletions::save(const QStringList& paths)
{
    QSaveFile file(queueFile());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QByteArray text = Header;
    for (const QString& path : paths)
        text += encodeLine(path) + '\n';
    file.write(text);
    return file.commit();
}

namespace {
// One line added to the end of the queue in one write. A line cut short by a crash gets its
// line end first, so that the next path never joins it into a third name.
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
    text += line + '\n';
    return ::write(queue.get(), text.constData(), size_t(text.size())) == text.size() &&
           ::fdatasync(queue.get()) == 0;
}
} // namespace

bool DeleteAfterReboot(const QString& path)
{
    const QString absolute =
        QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    if (appendLine(PendingDeletions::encodeLine(absolute)))
        return true;
    LogError(QStringLiteral("modShred"), QStringLiteral("DeleteAfterReboot"),
             ErrorNumber::PathFileAccessError,
             QStringLiteral("cannot write the pending-deletions queue: ") + absolute);
    return false;
}

void ProcessPendingDeletions(ShredEngine& engine)
{
    const QStringList queued = PendingDeletions::load();
    QSet<QString> done;
    for (const QString& path : queued)
        if (engine.shredPendingFile(path) != ShredOutcome::Queued)
            done.insert(path);
    engine.FinishRun();
    // Written once: what failed again was appended meanwhile and stays, with every path that a
    // crash before this point would simply try again.
    QStringList queue = PendingDeletions::load();
    queue.removeIf([&](const QString& path) { return done.contains(path); });
    PendingDeletions::save(queue);
}
