#include "Settings.h"

#include "LogError.h"
#include "platform/Identity.h"

#include <QDate>
#include <QSettings>
#include <limits>

namespace {
const QString Product = QLatin1String(Identity::ProductName);
const QString Executable = QLatin1String(Identity::ExeName);

const SettingInfo Table[] = {
    {Setting::FirstStartEver, Product, SettingType::Boolean},
    {Setting::NumOverwrite, Product, SettingType::Long},
    {Setting::FastShred, Product, SettingType::Integer},
    {Setting::ShredNow, Product, SettingType::Boolean},
    {Setting::PromptSafeFiles, Product, SettingType::Integer},
    {Setting::PromptSafeFilesQuestion, Product, SettingType::Boolean},
    {Setting::SafeFiles, Product, SettingType::String},
    {Setting::ShowState, Product, SettingType::String},
    // These two live under the executable's name, in a store of their own.
    {Setting::ShowUpgrade, Executable, SettingType::String},
    {Setting::NewAnnouncementsDate, Executable, SettingType::String},
};

template <typename Number> std::optional<Number> toNumber(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<Number>::min() || value > std::numeric_limits<Number>::max())
        return std::nullopt;
    return Number(value);
}

const QString& appNameOf(const QString& key)
{
    const SettingInfo* info = Setting::find(key);
    return info ? info->appName : Product;
}

// The stored text of a key, or its default when the key is missing.
QString storedText(const QString& key)
{
    return GetSetting(appNameOf(key), ConfigSection, key, Setting::defaultText(key));
}

template <typename T>
T readConverted(const QString& key, std::optional<T> (*convert)(const QString&), const QString& module,
                const QString& procedure)
{
    if (const std::optional<T> value = convert(storedText(key)))
        return *value;
    LogError(module, procedure, ErrorNumber::TypeMismatch, QStringLiteral("Type mismatch"));
    return *convert(Setting::defaultText(key));
}
} // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    QSettings store(appName, appName);
    const QVariant value = store.value(section + QLatin1Char('/') + key, defaultValue);
    // A hand-edited value with unquoted commas reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QSettings store(appName, appName);
    const QString path = section + QLatin1Char('/') + key;
    // The same value again would only rewrite the file and wait for the disk to hold it; every
    // launch writes FirstStartEver, and on a busy disk that wait was most of a hand-over's time.
    // Only the user's own file counts: a value from the system's defaults is still written.
    store.setFallbacksEnabled(false);
    const QVariant stored = store.value(path);
    if (stored.typeId() == QMetaType::QString && stored.toString() == value)
        return;
    store.setValue(path, value);
}

const SettingInfo* Setting::find(const QString& key)
{
    for (const SettingInfo& info : Table)
        if (info.key == key)
            return &info;
    return nullptr;
}

QString Setting::defaultText(const QString& key)
{
    if (key == FirstStartEver || key == PromptSafeFilesQuestion)
        return BooleanText(true);
    if (key == ShredNow)
        return BooleanText(false);
    if (key == NumOverwrite)
        return QStringLiteral("8");
    if (key == FastShred || key == PromptSafeFiles)
        return QStringLiteral("1");
    if (key == ShowState)
        return QStringLiteral("hidelist");
    if (key == ShowUpgrade)
        return QString::number(Identity::VersionMajor) + QLatin1Char('.') +
               QString::number(Identity::VersionMinor);
    if (key == NewAnnouncementsDate)
        return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    return QString();
}

std::optional<bool> ToBoolean(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const std::optional<qint32> number = ToLong(word))
        return *number != 0;
    return std::nullopt;
}

std::optional<qint16> ToInteger(const QString& text)
{
    return toNumber<qint16>(text);
}

std::optional<qint32> ToLong(const QString& text)
{
    return toNumber<qint32>(text);
}

QString BooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool ReadBooleanSetting(const QString& key, const QString& module, const QString& procedure)
{
    return readConverted<bool>(key, &ToBoolean, module, procedure);
}

qint16 ReadIntegerSetting(const QString& key, const QString& module, const QString& procedure)
{
    return readConverted<qint16>(key, &ToInteger, module, procedure);
}

qint32 ReadLongSetting(const QString& key, const QString& module, const QString& procedure)
{
    return readConverted<qint32>(key, &ToLong, module, procedure);
}

QString ReadStringSetting(const QString& key)
{
    return storedText(key);
}

void SaveBooleanSetting(const QString& key, bool value)
{
    SaveSetting(appNameOf(key), ConfigSection, key, BooleanText(value));
}

void SaveNumberSetting(const QString& key, qint64 value)
{
    SaveSetting(appNameOf(key), ConfigSection, key, QString::number(value));
}

void SaveStringSetting(const QString& key, const QString& value)
{
    SaveSetting(appNameOf(key), ConfigSection, key, value);
}
