#include "XdgFolders.h"

#include <QDir>

namespace {
QString envFolder(const char* name, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(name);
    // The XDG rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
}
} // namespace

QString XdgFolders::configHome()
{
    return envFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString XdgFolders::dataHome()
{
    return envFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString XdgFolders::stateHome()
{
    return envFolder("XDG_STATE_HOME", QStringLiteral(".local/state"));
}
