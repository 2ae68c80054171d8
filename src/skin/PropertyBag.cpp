#include "PropertyBag.h"

#include <QPixmap>

namespace {
// Pictures have no equality: an empty picture is the default of every picture property.
bool IsDefault(const QVariant& value, const QVariant& defaultValue)
{
    if (value.metaType() == QMetaType::fromType<QPixmap>())
        return value.value<QPixmap>().isNull();
    return value == defaultValue;
}
} // namespace

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    for (const auto& [key, value] : m_values)
        if (key == name)
            return value;
    return defaultValue;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    m_values.removeIf([&](const auto& entry) { return entry.first == name; });
    if (!IsDefault(value, defaultValue))
        m_values.append({name, value});
}

QStringList PropertyBag::Names() const
{
    QStringList names;
    for (const auto& entry : m_values)
        names << entry.first;
    return names;
}
