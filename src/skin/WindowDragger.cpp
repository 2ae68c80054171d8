#include "WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>

WindowDragger::WindowDragger(QWidget* window, const QPoint& pointer)
    : QObject(window), m_window(window), m_grabOffset(pointer - window->pos())
{
    setObjectName(QStringLiteral("windowDragger"));
    window->installEventFilter(this);
    window->grabMouse();
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        m_window->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_grabOffset);
        return true;
    case QEvent::MouseButtonRelease:
        finish();
        return true;
    default:
        return false;
    }
}

void WindowDragger::finish()
{
    m_window->releaseMouse();
    m_window->removeEventFilter(this);
    deleteLater();
}
