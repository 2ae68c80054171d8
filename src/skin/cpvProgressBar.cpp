#include "cpvProgressBar.h"

#include "MouseArgs.h"
#include "ProgressGeometry.h"
#include "PropertyBag.h"
#include "SkinAccessible.h"
#include "SkinColor.h"
#include "common/LogError.h"
#include "modSkinForm.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
Qt::CursorShape PointerShape(int pointer)
{
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 15:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}
} // namespace

cpvProgressBar::cpvProgressBar(QWidget* parent) : QWidget(parent)
{
    SkinAccessible::install();
    if (TwipsX() == 0)
        RefreshTwips();
    ResizeToPicture();
}

long cpvProgressBar::SetValue(qint32 value)
{
    if (value < m_min || value > m_max)
        return ErrorNumber::InvalidPropertyValue;
    m_value = value;
    if (const long error = Redraw())
        return error;
    if (value != m_lastValue) {
        m_lastValue = value;
        Q_EMIT ValueChanged();
        if (value == m_max)
            Q_EMIT MaxReached();
        if (value == m_min)
            Q_EMIT MinReached();
    }
    return 0;
}

long cpvProgressBar::SetMax(qint32 max)
{
    if (max <= m_min)
        return ErrorNumber::InvalidPropertyValue;
    m_max = max;
    m_range = m_max - m_min;
    return Redraw();
}

long cpvProgressBar::SetMin(qint32 min)
{
    if (min >= m_max)
        return ErrorNumber::InvalidPropertyValue;
    m_min = min;
    const long error = SetValue(min);
    m_range = m_max - m_min;
    return error;
}

void cpvProgressBar::SetCaptionFormat(int format)
{
    m_captionFormat = format;
    Redraw();
}

void cpvProgressBar::SetCaptionCustom(const QString& text)
{
    m_captionCustom = text;
    Redraw();
}

void cpvProgressBar::SetBarPicture(const QPixmap& picture)
{
    m_barPicture = picture;
    ResizeToPicture();
}

void cpvProgressBar::SetBarPictureBack(const QPixmap& picture)
{
    m_barPictureBack = picture;
    ResizeToPicture();
}

void cpvProgressBar::SetFontColor(quint32 color)
{
    m_fontColor = color;
    Redraw();
}

void cpvProgressBar::SetFont(const QFont& font)
{
    setFont(font);
    Redraw();
}

void cpvProgressBar::SetMousePointer(int pointer)
{
    m_mousePointer = pointer;
    ApplyPointer();
}

void cpvProgressBar::SetMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    ApplyPointer();
}

void cpvProgressBar::ReadProperties(const PropertyBag& bag)
{
    m_captionCustom = bag.ReadProperty(QStringLiteral("CaptionCustom"), QString()).toString();
    m_captionFormat = bag.ReadProperty(QStringLiteral("CaptionFormat"), 0).toInt();
    m_max = bag.ReadProperty(QStringLiteral("Max"), 100).toInt();
    m_min = bag.ReadProperty(QStringLiteral("Min"), 0).toInt();
    m_orientation = bag.ReadProperty(QStringLiteral("Orientation"), 0).toInt();
    m_value = bag.ReadProperty(QStringLiteral("Value"), 0).toInt();
    setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    m_fontColor = bag.ReadProperty(QStringLiteral("FontColor"), 0x80000012u).toUInt();
    m_mouseIcon = bag.ReadProperty(QStringLiteral("MouseIcon"), QPixmap()).value<QPixmap>();
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"), QVariant());
    if (font.isValid())
        setFont(font.value<QFont>());
    m_barPicture = bag.ReadProperty(QStringLiteral("BarPicture"), QPixmap()).value<QPixmap>();
    m_barPictureBack = bag.ReadProperty(QStringLiteral("BarPictureBack"), QPixmap()).value<QPixmap>();
    m_mousePointer = bag.ReadProperty(QStringLiteral("MousePointer"), 0).toInt();
    m_range = m_max - m_min;
    m_lastValue = m_value;
    ApplyPointer();
    ResizeToPicture();
}

void cpvProgressBar::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("CaptionCustom"), m_captionCustom, QString());
    bag.WriteProperty(QStringLiteral("CaptionFormat"), m_captionFormat, 0);
    bag.WriteProperty(QStringLiteral("Max"), m_max, 100);
    bag.WriteProperty(QStringLiteral("Min"), m_min, 0);
    bag.WriteProperty(QStringLiteral("Orientation"), m_orientation, 0);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 0);
    bag.WriteProperty(QStringLiteral("Enabled"), isEnabled(), true);
    bag.WriteProperty(QStringLiteral("FontColor"), m_fontColor, 0x80000012u);
    bag.WriteProperty(QStringLiteral("MouseIcon"), m_mouseIcon, QPixmap());
    if (testAttribute(Qt::WA_SetFont))
        bag.WriteProperty(QStringLiteral("Font"), font(), QVariant());
    bag.WriteProperty(QStringLiteral("BarPicture"), m_barPicture, QPixmap());
    bag.WriteProperty(QStringLiteral("BarPictureBack"), m_barPictureBack, QPixmap());
    bag.WriteProperty(QStringLiteral("MousePointer"), m_mousePointer, 0);
}

void cpvProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_surfacePicture);
    if (!m_filled.isEmpty())
        painter.drawPixmap(m_filled, m_barPicture, m_filled);
    if (!m_caption.isEmpty()) {
        const QFontMetrics metrics(font());
        const QPoint at = ProgressGeometry::CaptionPosition(
            width(), height(), metrics.horizontalAdvance(m_caption), metrics.height());
        painter.setPen(ColorFromValue(m_fontColor, palette()));
        painter.drawText(QRect(at, QSize(metrics.horizontalAdvance(m_caption), metrics.height())),
                         Qt::AlignLeft | Qt::AlignTop, m_caption);
    }
}

void cpvProgressBar::resizeEvent(QResizeEvent*)
{
    ResizeToPicture();
}

void cpvProgressBar::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    const QPointF pos = event->position();
    Q_EMIT MouseDown(MouseArgs::Button(event->button()), MouseArgs::Shift(event->modifiers()),
                     ToTwipsX(pos.x()), ToTwipsY(pos.y()));
}

void cpvProgressBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    Q_EMIT MouseMove(MouseArgs::Button(event->buttons()), MouseArgs::Shift(event->modifiers()),
                     ToTwipsX(pos.x()), ToTwipsY(pos.y()));
}

void cpvProgressBar::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT Click();
}

void cpvProgressBar::ResizeToPicture()
{
    // The control is as large as its background picture; any other size is undone.
    if (!m_barPictureBack.isNull())
        m_surfacePicture = m_barPictureBack;
    if (size() != m_surfacePicture.size())
        setFixedSize(m_surfacePicture.size());
    Redraw();
}

long cpvProgressBar::Redraw()
{
    update();
    m_caption = ProgressGeometry::CaptionText(m_captionFormat, m_value, m_min, m_range, m_captionCustom);
    if (!ProgressGeometry::FilledRect(m_value, m_min, m_range, m_orientation, width(), height(), &m_filled))
        return ErrorNumber::Overflow;
    return 0;
}

void cpvProgressBar::ApplyPointer()
{
    if (m_mousePointer == 0)
        unsetCursor();
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else
        setCursor(PointerShape(m_mousePointer));
}

float cpvProgressBar::ToTwipsX(qreal x) const
{
    return float(x * TwipsX());
}

float cpvProgressBar::ToTwipsY(qreal y) const
{
    return float(y * TwipsY());
}
