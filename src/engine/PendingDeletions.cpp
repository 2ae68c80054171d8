#include "PendingDeletions.h"

#include "ShredEngine.h"
#include "common/LogError.h"
#include "platform/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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
    for (const char byte : QFile::encodeName(path)) {
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
    return QFile::decodeName(QByteArray::fromPercentEncoding(line));
}

QStringList PendingDeletions::load()
{
    QFile file(queueFile());
    QStringList paths;
    if (!file.open(QIODevice::ReadOnly))
        return paths;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith('/'))
            paths.append(decodeLine(line));
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

void DeleteAfterReboot(const QString& path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QStringList queue = PendingDeletions::load();
    if (queue.contains(absolute))
        return;
    queue.append(absolute);
    if (!PendingDeletions::save(queue))
        LogError(QStringLiteral("modShred"), QStringLiteral("DeleteAfterReboot"),
                 ErrorNumber::PathFileAccessError,
                 QStringLiteral("cannot write the pending-deletions queue: ") + absolute);
}

void ProcessPendingDeletions(ShredEngine& engine)
{
    const QStringList queued = PendingDeletions::load();
    for (const QString& path : queued) {
        if (engine.shredPendingFile(path) == ShredOutcome::Queued)
            continue;
        // Dropped one at a time, so that a crash half-way repeats only what was not done.
        QStringList queue = PendingDeletions::load();
        queue.removeAll(path);
        PendingDeletions::save(queue);
    }
}
