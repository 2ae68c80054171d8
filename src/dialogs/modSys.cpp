#include "modSys.h"

#include "common/LogError.h"

#include <QProcess>

bool GetKeyValue(Registry::Root keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyVal)
{
    keyVal = Registry::ReadValue(keyRoot, keyName, subKeyRef, QString()).toString();
    return !keyVal.isEmpty();
}

bool StartSysInfoTool()
{
    // The tool's folder under "Shared Tools Location" has no counterpart here: the one
    // location is the MSINFO path, which names the desktop's own tool.
    QString path;
    if (GetKeyValue(Registry::Root::HKEY_LOCAL_MACHINE, Registry::MsInfoKey, QStringLiteral("PATH"), path)) {
        QStringList arguments = QProcess::splitCommand(path);
        const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
        if (QProcess::startDetached(program, arguments))
            return true;
        LogError(QStringLiteral("modSys"), QStringLiteral("StartSysInfo"), ErrorNumber::FileNotFound,
                 QStringLiteral("File not found: %1").arg(program));
    }
    return false;
}
