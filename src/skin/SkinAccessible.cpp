#include "SkinAccessible.h"

#include "AccessibleControl.h"

#include <QWidget>

namespace {
AccessibleControl* controlOf(QObject* object)
{
    return dynamic_cast<AccessibleControl*>(object);
}

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const AccessibleControl* control = controlOf(object);
    return widget && control ? new SkinAccessible(widget, control->accessibleRole()) : nullptr;
}
} // namespace

SkinAccessible::SkinAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

void SkinAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

AccessibleControl* SkinAccessible::control() const
{
    return controlOf(widget());
}

QAccessible::State SkinAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (const std::optional<bool> enabled = control()->ownEnabled())
        state.disabled = !*enabled;
    return state;
}

QString SkinAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty() &&
        !control()->accessibleCaption().isEmpty())
        return control()->accessibleCaption();
    if (t == QAccessible::Value && control()->hasValue())
        return currentValue().toString();
    return QAccessibleWidget::text(t);
}

void* SkinAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface && control()->hasValue())
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList SkinAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (control()->pressable())
        names.prepend(pressAction());
    return names;
}

void SkinAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && control()->pressable())
        control()->accessiblePress();
    else if (actionName != pressAction())
        QAccessibleWidget::doAction(actionName);
}

QVariant SkinAccessible::currentValue() const
{
    return control()->hasValue() ? QVariant(control()->accessibleValue()) : QVariant();
}

void SkinAccessible::setCurrentValue(const QVariant& value)
{
    control()->setAccessibleValue(value.toInt());
}

QVariant SkinAccessible::maximumValue() const
{
    return control()->hasValue() ? QVariant(control()->accessibleMaximum()) : QVariant();
}

QVariant SkinAccessible::minimumValue() const
{
    return control()->hasValue() ? QVariant(control()->accessibleMinimum()) : QVariant();
}

QVariant SkinAccessible::minimumStepSize() const
{
    return control()->hasValue() ? QVariant(1) : QVariant();
}
