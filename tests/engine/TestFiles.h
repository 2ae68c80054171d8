#pragma once

#include "TestEnvironment.h"
#include "platform/ParentFolder.h"

#include <fcntl.h>
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
    return QProcess::execute(u"chown"_s, QStringList{u"-R"_s, u"65534:65534"_s} + items) == 0;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An item's permission bits, 0 when there is no item.
inline mode_t modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
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
    ::close(file); // a descriptor never opened is -1, which close() turns down harmlessly
    ::close(fd);
    return written ? deep : QString();
}

// The immutable flag (root only): what a file that cannot be overwritten looks like.
inline bool setImmutable(const QString& path, bool on)
{
    return QProcess::execute(u"chattr"_s, {on ? u"+i"_s : u"-i"_s, path}) == 0;
}

// How a run of the vanisto-shred tool ended (-1: it did not), and what it printed.
struct ToolResult
{
    int exitCode;
    QString out;
    QString errors;
};

// Runs vanisto-shred; given a home, as the unprivileged user "nobody" with that home.
inline ToolResult runTool(const QStringList& arguments, const QString& nobodyHome = QString())
{
    QProcess process;
    QString program = TestEnvironment::binDir() + u"/vanisto-shred"_s;
    QStringList args = arguments;
    if (!nobodyHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"})
            env.insert(QLatin1String(name), nobodyHome);
        process.setProcessEnvironment(env);
        args = QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, program} + arguments;
        program = u"setpriv"_s;
    }
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return {-1, u"did not finish"_s, QString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}
} // namespace TestFiles

using namespace TestFiles;
