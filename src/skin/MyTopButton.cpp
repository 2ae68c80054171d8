#include "MyTopButton.h"

#include "MouseArgs.h"
#include "PropertyBag.h"
#include "SkinAccessible.h"
#include "SkinColor.h"
#include "modSkinForm.h"

#include <QBitmap>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

MyTopButton::MyTopButton(QWidget* parent) : QAbstractButton(parent)
{
    SkinAccessible::install();
    if (TwipsX() == 0)
        RefreshTwips();
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(0, 0);
    // The keyboard and accessibility reach the button through QAbstractButton::click().
    connect(this, &QAbstractButton::clicked, this, &MyTopButton::PressByKey);
    Show(Picture::Up);
}

void MyTopButton::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        Show(Picture::Disabled);
    else if (m_value == 0)
        Show(Picture::Up);
    else if (m_value == 1)
        Show(Picture::Down);
}

void MyTopButton::SetImageUp(const QPixmap& picture)
{
    m_imUp = picture;
    const int backStyle = m_backStyle;
    m_backStyle = 1;
    Show(Picture::Up);
    setFixedSize(picture.size());
    m_backStyle = backStyle;
    ApplyMask();
}

void MyTopButton::SetStyle(int style)
{
    m_style = style;
    Show(Picture::Up);
    m_value = 0;
}

void MyTopButton::SetValue(int value)
{
    m_value = value;
    if (value == 0)
        Show(Picture::Up);
    else if (value == 1)
        Show(Picture::Down);
}

void MyTopButton::SetMaskColor(quint32 color)
{
    m_maskColor = color;
    m_maskPicture = m_imUp;
    ApplyMask();
}

void MyTopButton::SetBackStyle(int backStyle)
{
    m_backStyle = backStyle;
    m_maskPicture = m_displayed;
    ApplyMask();
}

void MyTopButton::SetImages(const ButtonImages& images)
{
    SetImageDown(images.down);
    SetImageHot(images.hot);
    SetImageDisabled(images.disabled);
    SetImageUp(images.up);
    if (!m_enabled)
        Show(Picture::Disabled);
}

void MyTopButton::ReadProperties(const PropertyBag& bag)
{
    m_enabled = bag.ReadProperty(QStringLiteral("Enabled"), true).toBool();
    m_imDown = bag.ReadProperty(QStringLiteral("ImageDown"), QPixmap()).value<QPixmap>();
    m_imHot = bag.ReadProperty(QStringLiteral("ImageHot"), QPixmap()).value<QPixmap>();
    m_imDis = bag.ReadProperty(QStringLiteral("ImageDisabled"), QPixmap()).value<QPixmap>();
    m_style = bag.ReadProperty(QStringLiteral("Style"), 0).toInt();
    m_value = bag.ReadProperty(QStringLiteral("Value"), 0).toInt();
    m_imUp = bag.ReadProperty(QStringLiteral("ImageUp"), QPixmap()).value<QPixmap>();
    m_maskColor = bag.ReadProperty(QStringLiteral("MaskColor"), 0xC0C0C0u).toUInt();
    m_backStyle = bag.ReadProperty(QStringLiteral("BackStyle"), 1).toInt();
    setFixedSize(m_imUp.size());
    if (!m_enabled)
        Show(Picture::Disabled);
    else if (m_value == 0)
        Show(Picture::Up);
    else if (m_value == 1)
        Show(Picture::Down);
    else
        ApplyMask();
}

void MyTopButton::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("ImageDown"), m_imDown, QPixmap());
    bag.WriteProperty(QStringLiteral("ImageHot"), m_imHot, QPixmap());
    bag.WriteProperty(QStringLiteral("ImageDisabled"), m_imDis, QPixmap());
    bag.WriteProperty(QStringLiteral("ImageUp"), m_imUp, QPixmap());
    bag.WriteProperty(QStringLiteral("Style"), m_style, 0);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 0);
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, 0xC0C0C0u);
    bag.WriteProperty(QStringLiteral("BackStyle"), m_backStyle, 1);
}

void MyTopButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_drawn);
    if (hasFocus() && m_keyboardFocus) {
        QPen pen(ColorFromValue(SkinColor::LinkNormal), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}

void MyTopButton::mousePressEvent(QMouseEvent* event)
{
    m_pressedHere = event->button() == Qt::LeftButton;
    Press(MouseArgs::Button(event->button()), MouseArgs::Shift(event->modifiers()), event->position());
}

void MyTopButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_enabled)
        return;
    const int button = MouseArgs::Button(event->buttons());
    const QPointF pos = event->position();
    Q_EMIT MouseMove(button, MouseArgs::Shift(event->modifiers()), ToTwipsX(pos.x()), ToTwipsY(pos.y()));
    const bool inside = Inside(pos);
    if (button == MouseArgs::Left) {
        if (inside)
            Show(m_value != 0 ? Picture::Hot : Picture::Down);
        else
            Show(Resting());
    } else if (button == 0) {
        if (!inside)
            Show(Resting());
        else if (m_value == 0)
            Show(Picture::Hot);
    }
}

void MyTopButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    Release(MouseArgs::Button(event->button()), MouseArgs::Shift(event->modifiers()), pos);
    const bool click = m_pressedHere && event->button() == Qt::LeftButton && rect().contains(pos.toPoint());
    m_pressedHere = false;
    if (click)
        Q_EMIT Click();
}

void MyTopButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is the double click itself, not another press.
    m_pressedHere = false;
    if (event->button() == Qt::LeftButton)
        Q_EMIT DblClick();
}

void MyTopButton::leaveEvent(QEvent*)
{
    // The pointer's first position outside the button: it rests again. While a button is
    // held the moves keep arriving and decide the picture themselves.
    if (m_enabled && QGuiApplication::mouseButtons() == Qt::NoButton)
        Show(Resting());
}

void MyTopButton::focusInEvent(QFocusEvent* event)
{
    // Only a button reached with Tab shows where the focus is.
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void MyTopButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void MyTopButton::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MyTopButton::dropEvent(QDropEvent* event)
{
    const QPointF pos = event->position();
    const int effect = event->dropAction() == Qt::MoveAction ? 2 : 1;
    Q_EMIT OLEDragDrop(event->mimeData(), effect, MouseArgs::Button(event->buttons()),
                       MouseArgs::Shift(event->modifiers()), ToTwipsX(pos.x()), ToTwipsY(pos.y()));
    event->acceptProposedAction();
}

void MyTopButton::Press(int button, int shift, const QPointF& pos)
{
    if (!m_enabled)
        return;
    Q_EMIT MouseDown(button, shift, ToTwipsX(pos.x()), ToTwipsY(pos.y()));
    if (button == MouseArgs::Left)
        Show(m_value != 0 ? Picture::Hot : Picture::Down);
}

void MyTopButton::Release(int button, int shift, const QPointF& pos)
{
    if (!m_enabled)
        return;
    Q_EMIT MouseUp(button, shift, ToTwipsX(pos.x()), ToTwipsY(pos.y()));
    if (button != MouseArgs::Left)
        return;
    if (!Inside(pos)) {
        Show(Resting());
    } else if (m_style != 1) {
        Show(Picture::Up); // the next move over the button turns it hot again
    } else {
        m_value = m_value == 1 ? 0 : 1;
        Show(m_value != 0 ? Picture::Down : Picture::Hot);
    }
}

void MyTopButton::PressByKey()
{
    if (!m_enabled)
        return;
    const QPointF middle(width() / 2.0, height() / 2.0);
    Press(MouseArgs::Left, 0, middle);
    Release(MouseArgs::Left, 0, middle);
    Q_EMIT Click();
}

bool MyTopButton::Inside(const QPointF& pos) const
{
    const float x = ToTwipsX(pos.x());
    const float y = ToTwipsY(pos.y());
    return x > 0 && x < width() * TwipsX() && y > 0 && y < height() * TwipsY();
}

float MyTopButton::ToTwipsX(qreal x) const
{
    return float(x * TwipsX());
}

float MyTopButton::ToTwipsY(qreal y) const
{
    return float(y * TwipsY());
}

const QPixmap& MyTopButton::PictureFor(Picture picture) const
{
    switch (picture) {
    case Picture::Hot:
        return m_imHot;
    case Picture::Down:
        return m_imDown;
    case Picture::Disabled:
        return m_imDis;
    case Picture::Up:
        break;
    }
    return m_imUp;
}

void MyTopButton::Show(Picture picture)
{
    m_shown = picture;
    m_displayed = PictureFor(picture);
    m_maskPicture = m_displayed;
    ApplyMask();
}

void MyTopButton::ApplyMask()
{
    m_drawn = m_displayed;
    if (m_backStyle == 0 && !m_maskPicture.isNull()) {
        const QColor key = ColorFromValue(m_maskColor);
        if (!m_drawn.isNull())
            m_drawn.setMask(m_drawn.createMaskFromColor(key, Qt::MaskInColor));
        QBitmap shape = m_maskPicture.createMaskFromColor(key, Qt::MaskInColor);
        setMask(shape);
    } else {
        clearMask();
    }
    update();
}

bool ReleasedOver(const MyTopButton* button, int Button, float X, float Y)
{
    return Button == MouseArgs::Left && X > 0 && Y > 0 && X < button->width() * TwipsX() &&
           Y < button->height() * TwipsY();
}
