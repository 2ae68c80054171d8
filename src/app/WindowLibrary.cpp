#include "WindowLibrary.h"

#include "common/LogError.h"
#include "platform/CommandRelay.h"

#include <QByteArray>
#include <QLockFile>

#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace {
// The program's own file, wherever it was started from: a link, a relative path, PATH.
QByteArray ownFile()
{
    QByteArray buffer(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), size_t(buffer.size()));
        if (length < 0)
            return QByteArray();
        if (length < buffer.size())
            return buffer.left(length);
        buffer.resize(buffer.size() * 2);
    }
}

QByteArray libraryFile()
{
    const QByteArray program = ownFile();
    return program.left(program.lastIndexOf('/') + 1) + VANISTO_WINDOW_LIBRARY;
}
} // namespace

int WindowLibrary::runFirstInstance(int& argc, char** argv)
{
    const QByteArray library = libraryFile();
    // Every symbol is bound now: a library that does not fit this program fails here, with a
    // message, rather than in the middle of a run.
    void* handle = ::dlopen(library.constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = handle ? reinterpret_cast<Entry>(::dlsym(handle, EntryName)) : nullptr;
    if (!entry) {
        const QByteArray reason = ::dlerror();
        LogError(QStringLiteral("modGeneral"), QStringLiteral("Main"), ErrorNumber::FileNotFound,
                 QStringLiteral("The windows cannot be loaded: ") + QString::fromLocal8Bit(reason));
        std::fprintf(stderr, "vn10: the windows cannot be loaded: %s\n", reason.constData());
        // Let go of the lock at once: the next launch must not take this process for a running one.
        CommandRelayConnector::commandRelay()->releaseInstanceLock().reset();
        return 1;
    }
    return entry(&argc, argv, CommandRelayConnector::commandRelay()->releaseInstanceLock().release());
}
