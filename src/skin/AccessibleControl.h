#pragma once

#include <QAccessible>
#include <QString>

#include <optional>

// What a skinned control tells screen readers and automation; SkinAccessible presents it over
// AT-SPI. Each control answers for what it has (a press action, a caption, a value), so the
// presentation needs to know no control by name.
class AccessibleControl
{
public:
    virtual ~AccessibleControl() = default;

    virtual QAccessible::Role accessibleRole() const = 0;
    // The control's own Enabled where it keeps one apart from the widget's.
    virtual std::optional<bool> ownEnabled() const { return std::nullopt; }
    // The name when the widget has no accessible name (a link is named by its caption).
    virtual QString accessibleCaption() const { return QString(); }
    virtual bool pressable() const { return false; }
    virtual void accessiblePress() {}
    virtual bool hasValue() const { return false; }
    virtual int accessibleValue() const { return 0; }
    virtual int accessibleMinimum() const { return 0; }
    virtual int accessibleMaximum() const { return 0; }
    // A value set through accessibility; out of range it is refused as from code.
    virtual void setAccessibleValue(int) {}
};
