#include "SkinSurface.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

SkinSurface::SkinSurface(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("skinSurface"));
    window->installEventFilter(this);
}

SkinSurface* SkinSurface::of(QWidget* window)
{
    auto* surface = window->findChild<SkinSurface*>(QString(), Qt::FindDirectChildrenOnly);
    return surface ? surface : new SkinSurface(window);
}

void SkinSurface::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    m_window->update();
}

bool SkinSurface::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Paint && !m_picture.isNull()) {
        QPainter painter(m_window);
        painter.drawPixmap(0, 0, m_picture);
    }
    return false;
}
