#include "AppFolder.h"

#include "platform/Identity.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QString ensurePrivateFolder(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(path);
        ::chmod(QFile::encodeName(path).constData(), S_IRWXU);
    }
    return path;
}
} // namespace

QString AppFolder::path()
{
    // Qt 6.4 has no StateLocation, so the XDG rule is applied here.
    return ensurePrivateFolder(XdgFolders::stateHome() + QLatin1Char('/') +
                               QLatin1String(Identity::ProductName));
}

QString AppFolder::file(const QString& name)
{
    return path() + QLatin1Char('/') + name;
}

QString RuntimeFolder::path()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::tempPath() + QStringLiteral("/vanisto-runtime-") + QString::number(::getuid());
    return ensurePrivateFolder(base + QStringLiteral("/vanisto"));
}
