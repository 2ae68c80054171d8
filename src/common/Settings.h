#pragma once

#include <QString>
#include <optional>

// Every setting is a string addressed by (application name, "Config", key) in the
// per-user settings store: $XDG_CONFIG_HOME/<application>/<application>.conf.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

inline const QString ConfigSection = QStringLiteral("Config");

// The settings table: every key of the program, the application it lives under, the
// type it has in memory and its default.
enum class SettingType
{
    Boolean,
    Integer,
    Long,
    String
};

struct SettingInfo
{
    QString key;
    QString appName;
    SettingType type;
};

namespace Setting {
inline const QString FirstStartEver = QStringLiteral("FirstStartEver");
inline const QString NumOverwrite = QStringLiteral("NumOverwrite");
inline const QString FastShred = QStringLiteral("FastShred");
inline const QString ShredNow = QStringLiteral("ShredNow");
inline const QString PromptSafeFiles = QStringLiteral("PromptSafeFiles");
inline const QString PromptSafeFilesQuestion = QStringLiteral("PromptSafeFilesQuestion");
inline const QString SafeFiles = QStringLiteral("SafeFiles");
inline const QString ShowState = QStringLiteral("ShowState");
inline const QString ShowUpgrade = QStringLiteral("ShowUpgrade");
inline const QString NewAnnouncementsDate = QStringLiteral("NewAnnouncementsDate");

// The table entry of a key; nullptr for a key the program does not have.
const SettingInfo* find(const QString& key);
// The stored text a missing key stands for. Some defaults depend on the running program
// (its version) or on the day (today as mm/dd/yyyy).
QString defaultText(const QString& key);
} // namespace Setting

// Conversions between stored text and the types in memory. Numbers are decimal
// (surrounding blanks allowed); Booleans are True or False in any case, or a number
// (0 is False). std::nullopt means the text does not convert.
std::optional<bool> ToBoolean(const QString& text);
std::optional<qint16> ToInteger(const QString& text);
std::optional<qint32> ToLong(const QString& text);
// Booleans are stored as the words True and False.
QString BooleanText(bool value);

// Reads a key of the table converted to its type. A missing key gives the default; a
// stored value that does not convert is logged under module:procedure and gives the
// default too.
bool ReadBooleanSetting(const QString& key, const QString& module, const QString& procedure);
qint16 ReadIntegerSetting(const QString& key, const QString& module, const QString& procedure);
qint32 ReadLongSetting(const QString& key, const QString& module, const QString& procedure);
QString ReadStringSetting(const QString& key);

// Writes a key of the table under its application name.
void SaveBooleanSetting(const QString& key, bool value);
void SaveNumberSetting(const QString& key, qint64 value);
void SaveStringSetting(const QString& key, const QString& value);
