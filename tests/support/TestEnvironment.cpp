#include "TestEnvironment.h"

namespace {
QTemporaryDir* g_root = nullptr;

void makeFolder(const QString& path)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
} // namespace

void TestEnvironment::install()
{
    if (g_root)
        return;
    g_root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vanisto-test-XXXXXX"));
    const QString home = root() + QStringLiteral("/home");
    for (const QString& folder : {home, configHome(), stateHome(), dataHome(), runtimeDir()})
        makeFolder(folder);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir()));
    qunsetenv("XDG_CURRENT_DESKTOP");
    std::atexit([] {
        delete g_root;
        g_root = nullptr;
    });
}

QString TestEnvironment::root()
{
    return g_root ? g_root->path() : QString();
}

QString TestEnvironment::binDir()
{
    // Tests are built next to the executables they start.
    const QByteArray dir = qgetenv("VANISTO_BIN_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : QFile::decodeName(dir);
}
