#include "LinkLabel.h"

#include "MouseArgs.h"
#include "SkinAccessible.h"
#include "SkinColor.h"
#include "modSkinForm.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    SkinAccessible::install();
    if (TwipsX() == 0)
        RefreshTwips();
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    LinkNormal(this);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    const QPointF pos = event->position();
    Q_EMIT MouseDown(MouseArgs::Button(event->button()), MouseArgs::Shift(event->modifiers()),
                     float(pos.x() * TwipsX()), float(pos.y() * TwipsY()));
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    Q_EMIT MouseMove(MouseArgs::Button(event->buttons()), MouseArgs::Shift(event->modifiers()),
                     float(pos.x() * TwipsX()), float(pos.y() * TwipsY()));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    Q_EMIT MouseUp(MouseArgs::Button(event->button()), MouseArgs::Shift(event->modifiers()),
                   float(pos.x() * TwipsX()), float(pos.y() * TwipsY()));
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(pos.toPoint());
    m_pressed = false;
    if (click)
        Press();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Press();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(ColorFromValue(SkinColor::LinkNormal), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
