#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class AccessibleControl;

// How the skin's controls present themselves to screen readers and automation (AT-SPI):
// an image button is a push button named by its tip, with a press action, and disabled
// while its own Enabled is false; a link label is a link named by its caption, with a press
// action; the progress bar and the slider give their value, minimum and maximum. Each control
// says what it has through AccessibleControl.
class SkinAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    SkinAccessible(QWidget* widget, QAccessible::Role role);

    // Registers the interfaces with Qt; the controls call it when they are made.
    static void install();

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    AccessibleControl* control() const;
};
