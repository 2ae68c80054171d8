#include "WindowLibrary.h"

#include "ProgramLibraries.h"

#include "common/LogError.h"
#include "platform/CommandRelay.h"

#include <QByteArray>
#include <QLockFile>

#include <cstdio>
#include <dlfcn.h>

int WindowLibrary::runFirstInstance(int& argc, char** argv)
{
    const std::string library = ProgramLibraries::beside(VANISTO_WINDOW_LIBRARY);
    // Every symbol is bound now: a library that does not fit this program fails here, with a
    // message, rather than in the middle of a run.
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
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
