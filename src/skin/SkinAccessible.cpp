#include "SkinAccessible.h"

#include "LinkLabel.h"
#include "MyTopButton.h"
#include "cpvProgressBar.h"
#include "ctlSlider.h"

namespace {
QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QStringLiteral("MyTopButton"))
        return new SkinAccessible(widget, QAccessible::Button);
    if (className == QStringLiteral("LinkLabel"))
        return new SkinAccessible(widget, QAccessible::Link);
    if (className == QStringLiteral("cpvProgressBar"))
        return new SkinAccessible(widget, QAccessible::ProgressBar);
    if (className == QStringLiteral("ctlSlider"))
        return new SkinAccessible(widget, QAccessible::Slider);
    return nullptr;
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

QAccessible::State SkinAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (auto* button = qobject_cast<MyTopButton*>(widget()))
        state.disabled = !button->Enabled();
    else if (auto* slider = qobject_cast<ctlSlider*>(widget()))
        state.disabled = !slider->Enabled();
    return state;
}

QString SkinAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name) {
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        if (auto* link = qobject_cast<LinkLabel*>(widget()))
            return link->text();
    }
    if (t == QAccessible::Value && HasValue())
        return currentValue().toString();
    return QAccessibleWidget::text(t);
}

void* SkinAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface && HasValue())
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList SkinAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (Pressable())
        names.prepend(pressAction());
    return names;
}

void SkinAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction()) {
        if (auto* button = qobject_cast<MyTopButton*>(widget()))
            button->click();
        else if (auto* link = qobject_cast<LinkLabel*>(widget()))
            link->Press();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QVariant SkinAccessible::currentValue() const
{
    if (auto* bar = qobject_cast<cpvProgressBar*>(widget()))
        return bar->Value();
    if (auto* slider = qobject_cast<ctlSlider*>(widget()))
        return slider->Value();
    return {};
}

void SkinAccessible::setCurrentValue(const QVariant& value)
{
    // Only the slider is the user's to set; an out-of-range value is refused as from code.
    if (auto* slider = qobject_cast<ctlSlider*>(widget()); slider && slider->Enabled())
        (void)slider->SetValue(value.toInt());
}

QVariant SkinAccessible::maximumValue() const
{
    if (auto* bar = qobject_cast<cpvProgressBar*>(widget()))
        return bar->Max();
    if (auto* slider = qobject_cast<ctlSlider*>(widget()))
        return slider->Max();
    return {};
}

QVariant SkinAccessible::minimumValue() const
{
    if (auto* bar = qobject_cast<cpvProgressBar*>(widget()))
        return bar->Min();
    if (auto* slider = qobject_cast<ctlSlider*>(widget()))
        return slider->Min();
    return {};
}

QVariant SkinAccessible::minimumStepSize() const
{
    return HasValue() ? QVariant(1) : QVariant();
}

bool SkinAccessible::Pressable() const
{
    return qobject_cast<MyTopButton*>(widget()) || qobject_cast<LinkLabel*>(widget());
}

bool SkinAccessible::HasValue() const
{
    return qobject_cast<cpvProgressBar*>(widget()) || qobject_cast<ctlSlider*>(widget());
}
