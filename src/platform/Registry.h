#pragma once

#include <QString>
#include <QVariant>

// The three registry routines the program uses. Linux has no registry: the few keys the
// program reads and writes are mapped onto what the desktop has (the table below); every
// other key reads as missing and cannot be created or written.
//
//   HKEY_LOCAL_MACHINE RunKey, value "Vanisto"        the autostart entry
//                                                     $XDG_CONFIG_HOME/autostart/vanisto.desktop
//   HKEY_CURRENT_USER ShellFoldersKey, "Start Menu"   $XDG_DATA_HOME/applications (read only)
//   HKEY_LOCAL_MACHINE MsInfoKey, "PATH"              the desktop's system-information tool
//                                                     (read only, see SystemInfoTool.h)
//
// Key paths and value names compare without regard to case and a leading "\" is ignored.
// The computer name must be empty (this computer); any other name cannot be reached.
namespace Registry {
enum class Root
{
    HKEY_CURRENT_USER,
    HKEY_LOCAL_MACHINE
};

enum ValueType
{
    REG_SZ = 1,
    REG_DWORD = 4
};

inline const QString RunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString RunServicesKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\RunServices");
inline const QString ShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
inline const QString MsInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

// Values are read through a buffer of this many bytes, the terminating NUL included:
// longer data reads as missing.
inline constexpr int ReadBufferSize = 255;

// True when the key exists or was created.
bool CreateKey(Root root, const QString& keyPath, const QString& computer);

// The value's data as a string; the empty string when the key or the value cannot be read.
QVariant ReadValue(Root root, const QString& keyPath, const QString& valueName, const QString& computer);

// Writes one value, creating its key first. Every mapped value is a string, so REG_DWORD
// data is stored as its decimal text. Failures are silent.
void WriteValue(Root root, const QString& keyPath, const QString& valueName, const QVariant& data,
                ValueType requestedType, const QString& computer);
} // namespace Registry
