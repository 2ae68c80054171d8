#include "Registry.h"

#include "platform/AutostartEntry.h"
#include "platform/Identity.h"
#include "platform/SystemInfoTool.h"
#include "platform/XdgFolders.h"

#include <QDir>

namespace {
enum class MappedKey
{
    None,
    Run,
    ShellFolders,
    MsInfo
};

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

MappedKey mappedKey(Registry::Root root, QString keyPath, const QString& computer)
{
    if (!computer.isEmpty())
        return MappedKey::None;
    if (keyPath.startsWith(QLatin1Char('\\')))
        keyPath.remove(0, 1);
    const bool machine = root == Registry::Root::HKEY_LOCAL_MACHINE;
    if (machine && sameName(keyPath, Registry::RunKey))
        return MappedKey::Run;
    if (!machine && sameName(keyPath, Registry::ShellFoldersKey))
        return MappedKey::ShellFolders;
    if (machine && sameName(keyPath, Registry::MsInfoKey))
        return MappedKey::MsInfo;
    return MappedKey::None;
}

QString mappedValue(MappedKey key, const QString& valueName)
{
    switch (key) {
    case MappedKey::Run:
        if (sameName(valueName, QLatin1String(Identity::ProductName)))
            return AutostartEntry::read();
        break;
    case MappedKey::ShellFolders:
        if (sameName(valueName, QStringLiteral("Start Menu")))
            return XdgFolders::dataHome() + QStringLiteral("/applications");
        break;
    case MappedKey::MsInfo:
        if (sameName(valueName, QStringLiteral("PATH")))
            return SystemInfoTool();
        break;
    case MappedKey::None:
        break;
    }
    return QString();
}
} // namespace

bool Registry::CreateKey(Root root, const QString& keyPath, const QString& computer)
{
    switch (mappedKey(root, keyPath, computer)) {
    case MappedKey::Run:
        return QDir().mkpath(AutostartEntry::folder());
    case MappedKey::ShellFolders:
    case MappedKey::MsInfo:
        return true;
    case MappedKey::None:
        break;
    }
    return false;
}

QVariant Registry::ReadValue(Root root, const QString& keyPath, const QString& valueName,
                             const QString& computer)
{
    const QString data = mappedValue(mappedKey(root, keyPath, computer), valueName);
    if (data.toUtf8().size() + 1 > ReadBufferSize)
        return QString();
    return data;
}

void Registry::WriteValue(Root root, const QString& keyPath, const QString& valueName, const QVariant& data,
                          ValueType /*every mapped value is a string*/, const QString& computer)
{
    if (!CreateKey(root, keyPath, computer))
        return;
    if (mappedKey(root, keyPath, computer) == MappedKey::Run &&
        sameName(valueName, QLatin1String(Identity::ProductName)))
        AutostartEntry::write(data.toString());
}
