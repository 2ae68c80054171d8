#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse events delivered straight to a control, with the buttons held as a user holds them.
namespace MouseEvents {
inline void Send(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                 Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}
inline void Hover(QWidget* w, QPointF pos)
{
    Send(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}
inline void Press(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonPress, pos, button, button);
}
inline void Release(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}
} // namespace MouseEvents
