#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// A control's saved design data: named values in the order they were written. A value
// equal to its default is not stored, and reading a missing one gives the default, so the
// data of a control holds only what its window changed.
class PropertyBag
{
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const;
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);
    QStringList Names() const;

private:
    QList<QPair<QString, QVariant>> m_values;
};
