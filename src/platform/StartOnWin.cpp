#include "StartOnWin.h"

#include "platform/Identity.h"
#include "platform/Registry.h"

#include <QCoreApplication>

bool IsWinNT()
{
    return true;
}

QString ExecutablePath(const QString& folder)
{
    const QString separator = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return folder + separator + QLatin1String(Identity::ExeName);
}

void StartOnWin()
{
    const QString executable = ExecutablePath(QCoreApplication::applicationDirPath());
    const QString key = IsWinNT() ? Registry::RunKey : Registry::RunServicesKey;
    if (!Registry::CreateKey(Registry::Root::HKEY_LOCAL_MACHINE, key, QString()))
        return;
    Registry::WriteValue(Registry::Root::HKEY_LOCAL_MACHINE, key, QLatin1String(Identity::ProductName),
                         executable, Registry::REG_SZ, QString());
}
