#include "ctlSlider.h"

#include "MouseArgs.h"
#include "PropertyBag.h"
#include "SkinAccessible.h"
#include "SkinColor.h"
#include "SliderGeometry.h"
#include "common/LogError.h"
#include "frmValueTip.h"
#include "modSkinForm.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {
// The groove of a drawn rail: two lines on each side of the rail rectangle, dark above and
// left, light below and right for a sunken edge, the other way round for a raised one. The
// shades are taken from the control's background, so the groove sits as well on the dark
// skin as on a light one.
void DrawEdge(QPainter& painter, const SliderGeometry::Rail& rail, int edge, const QColor& face)
{
    const bool outer = edge & 0x3;
    const bool inner = edge & 0xC;
    const bool sunkenOuter = edge & 0x2;
    const bool sunkenInner = edge & 0x8;
    const QColor light = face.lighter(150);
    const QColor mid = face.lighter(120);
    const QColor dark = face.darker(160);
    const QColor shadow = face.darker(250);
    auto lines = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
        const int l = rail.left - 2 + inset;
        const int t = rail.top - 2 + inset;
        const int r = rail.right + 1 - inset;
        const int b = rail.bottom + 1 - inset;
        painter.setPen(topLeft);
        painter.drawLine(l, t, r, t);
        painter.drawLine(l, t, l, b);
        painter.setPen(bottomRight);
        painter.drawLine(l, b, r, b);
        painter.drawLine(r, t, r, b);
    };
    if (outer)
        sunkenOuter ? lines(0, dark, light) : lines(0, mid, shadow);
    if (inner)
        sunkenInner ? lines(1, shadow, mid) : lines(1, light, dark);
}
} // namespace

ctlSlider::ctlSlider(QWidget* parent) : QWidget(parent)
{
    SkinAccessible::install();
    setAcceptDrops(true);
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(false);
    (void)Resize();
}

ctlSlider::~ctlSlider()
{
    delete m_tip;
}

long ctlSlider::SetValue(qint32 value)
{
    if (value < m_min || value > m_max)
        return ErrorNumber::InvalidPropertyValue;
    m_value = value;
    if (!m_dragging) {
        if (m_orientation == 0)
            m_thumb.setX(SliderGeometry::ThumbAlong(0, value, m_min, m_range, width(), m_sliderIcon.width()));
        else
            m_thumb.setY(0);
    }
    if (const long error = Redraw())
        return error;
    Q_EMIT ValueChanged();
    if (value == m_max)
        Q_EMIT MaxReached();
    if (value == m_min)
        Q_EMIT MinReached();
    return 0;
}

long ctlSlider::SetMax(qint32 max)
{
    if (max <= m_min)
        return ErrorNumber::InvalidPropertyValue;
    m_max = max;
    m_range = m_max - m_min;
    return 0;
}

long ctlSlider::SetMin(qint32 min)
{
    if (min >= m_max)
        return ErrorNumber::InvalidPropertyValue;
    m_min = min;
    const long error = SetValue(min);
    m_range = m_max - m_min;
    return error;
}

long ctlSlider::SetOrientation(int orientation)
{
    m_orientation = orientation;
    m_thumb = orientation == 0 ? QPoint(0, m_thumb.y()) : QPoint(0, height() - m_sliderIcon.height());
    return Resize();
}

long ctlSlider::SetRailStyle(int railStyle)
{
    m_railStyle = railStyle;
    return Resize();
}

long ctlSlider::SetRailPicture(const QPixmap& picture)
{
    m_railPicture = picture;
    return Resize();
}

long ctlSlider::SetSliderIcon(const QPixmap& picture)
{
    m_sliderIcon = picture;
    return Resize();
}

void ctlSlider::SetBackColor(quint32 color)
{
    m_backColor = color;
    (void)Redraw();
}

void ctlSlider::ReadProperties(const PropertyBag& bag)
{
    m_backColor = bag.ReadProperty(QStringLiteral("BackColor"), 0x8000000Fu).toUInt();
    m_enabled = bag.ReadProperty(QStringLiteral("Enabled"), true).toBool();
    m_orientation = bag.ReadProperty(QStringLiteral("Orientation"), 1).toInt();
    m_railStyle = bag.ReadProperty(QStringLiteral("RailStyle"), 0).toInt();
    m_showValueTip = bag.ReadProperty(QStringLiteral("ShowValueTip"), true).toBool();
    m_min = bag.ReadProperty(QStringLiteral("Min"), 0).toInt();
    m_max = bag.ReadProperty(QStringLiteral("Max"), 10).toInt();
    m_value = bag.ReadProperty(QStringLiteral("Value"), 0).toInt();
    m_sliderIcon = bag.ReadProperty(QStringLiteral("SliderIcon"), QPixmap()).value<QPixmap>();
    m_railPicture = bag.ReadProperty(QStringLiteral("RailPicture"), QPixmap()).value<QPixmap>();
    m_range = m_max - m_min;
    (void)Resize();
    if (m_orientation == 0)
        m_thumb.setX(SliderGeometry::ThumbAlong(0, m_value, m_min, m_range, width(), m_sliderIcon.width()));
    (void)Redraw();
}

void ctlSlider::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor, 0x8000000Fu);
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("SliderIcon"), m_sliderIcon, QPixmap());
    bag.WriteProperty(QStringLiteral("Orientation"), m_orientation, 1);
    bag.WriteProperty(QStringLiteral("RailPicture"), m_railPicture, QPixmap());
    bag.WriteProperty(QStringLiteral("RailStyle"), m_railStyle, 0);
    bag.WriteProperty(QStringLiteral("ShowValueTip"), m_showValueTip, true);
    bag.WriteProperty(QStringLiteral("Min"), m_min, 0);
    bag.WriteProperty(QStringLiteral("Max"), m_max, 10);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 0);
}

void ctlSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromValue(m_backColor, palette()));
    const int edge = SliderGeometry::EdgeForRailStyle(m_railStyle);
    if (m_railStyle == 99) {
        const QPoint at = m_orientation == 0 ? QPoint((width() - m_railPicture.width()) / 2, 0)
                                             : QPoint(0, (height() - m_railPicture.height()) / 2);
        painter.drawPixmap(at, m_railPicture);
    } else if (edge > 0) {
        DrawEdge(painter, SliderGeometry::RailRect(m_orientation, size(), m_sliderIcon.size()), edge,
                 ColorFromValue(m_backColor, palette()));
    }
    painter.drawPixmap(m_thumb, m_sliderIcon);
    if (hasFocus()) {
        painter.setPen(QPen(ColorFromValue(SkinColor::LinkNormal), 1, Qt::DotLine));
        painter.drawRect(QRect(m_thumb, m_sliderIcon.size()).adjusted(0, 0, -1, -1));
    }
}

void ctlSlider::resizeEvent(QResizeEvent*)
{
    (void)Resize();
}

void ctlSlider::mousePressEvent(QMouseEvent* event)
{
    SetHandCur(true);
    if (!m_enabled || event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    const QPoint pointer = event->position().toPoint();
    const QRect thumb(m_thumb, m_sliderIcon.size());
    const bool onThumb = pointer.x() >= thumb.left() && pointer.x() <= thumb.left() + thumb.width() &&
                         pointer.y() >= thumb.top() && pointer.y() <= thumb.top() + thumb.height();
    if (onThumb) {
        m_grab = pointer - m_thumb;
    } else {
        m_grab = QPoint(m_sliderIcon.width() / 2, m_sliderIcon.height() / 2);
        MoveStep(pointer);
    }
    if (m_showValueTip)
        ShowTip();
    Q_EMIT DragStart(MouseArgs::Shift(event->modifiers()));
}

void ctlSlider::mouseMoveEvent(QMouseEvent* event)
{
    SetHandCur(true);
    if (m_dragging)
        MoveStep(event->position().toPoint());
}

void ctlSlider::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (event->button() == Qt::LeftButton && pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 &&
        pos.y() < height())
        Q_EMIT Click();
    if (m_dragging)
        Q_EMIT DragEnd(MouseArgs::Shift(event->modifiers()));
    m_dragging = false;
    CloseTip();
}

void ctlSlider::keyPressEvent(QKeyEvent* event)
{
    // The keyboard moves the thumb one value at a time, as a drag would.
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        step = -1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (!m_enabled)
        return;
    const qint32 value = qBound(m_min, m_value + step, m_max);
    const int along =
        SliderGeometry::ThumbAlong(m_orientation, value, m_min, m_range, Length(), ThumbLength());
    (m_orientation == 0 ? m_thumb.rx() : m_thumb.ry()) = along;
    m_dragging = true;
    (void)SetValue(value);
    m_dragging = false;
}

void ctlSlider::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ctlSlider::dropEvent(QDropEvent* event)
{
    const QPointF pos = event->position();
    const int effect = event->dropAction() == Qt::MoveAction ? 2 : 1;
    Q_EMIT OLEDragDrop(event->mimeData(), effect, MouseArgs::Button(event->buttons()),
                       MouseArgs::Shift(event->modifiers()), float(pos.x()), float(pos.y()));
    event->acceptProposedAction();
}

long ctlSlider::Resize()
{
    const QSize thumb = m_sliderIcon.size();
    QSize target = size();
    if (m_railStyle == 99 && !m_railPicture.isNull()) {
        target = m_orientation == 0
                     ? QSize(m_railPicture.width(), qMax(m_railPicture.height(), thumb.height()))
                     : QSize(qMax(m_railPicture.width(), thumb.width()), m_railPicture.height());
    } else if (m_orientation == 0) {
        target = QSize(width() == 0 ? thumb.width() : width(), thumb.height());
    } else {
        target = QSize(thumb.width(), height() == 0 ? thumb.height() : height());
    }
    if (target != size())
        resize(target);
    PlaceThumbAcross();
    if (m_orientation == 0)
        m_thumb.setX(SliderGeometry::ThumbAlong(0, m_value, m_min, m_range, width(), thumb.width()));
    else
        m_thumb.setY(0);
    return Redraw();
}

long ctlSlider::Redraw()
{
    update();
    if (m_railStyle != 99 && SliderGeometry::EdgeForRailStyle(m_railStyle) < 0)
        return ErrorNumber::SubscriptOutOfRange;
    return 0;
}

void ctlSlider::PlaceThumbAcross()
{
    const int across =
        SliderGeometry::AcrossOffset(m_orientation, m_railStyle, m_railPicture.size(), m_sliderIcon.size());
    if (m_orientation == 0)
        m_thumb.setY(across);
    else
        m_thumb.setX(across);
}

void ctlSlider::MoveStep(const QPoint& pointer)
{
    const bool horizontal = m_orientation == 0;
    const int at = SliderGeometry::ClampThumb(horizontal ? pointer.x() : pointer.y(),
                                              horizontal ? m_grab.x() : m_grab.y(), Length(), ThumbLength());
    const qint32 value =
        SliderGeometry::ValueFromThumb(m_orientation, at, Length(), ThumbLength(), m_min, m_range);
    // Snap: the thumb stands exactly where its value puts it.
    const int snapped =
        SliderGeometry::ThumbAlong(m_orientation, value, m_min, m_range, Length(), ThumbLength());
    (horizontal ? m_thumb.rx() : m_thumb.ry()) = snapped;
    (void)SetValue(qBound(m_min, value, m_max));
}

void ctlSlider::ShowTip()
{
    if (!m_tip)
        m_tip = new frmValueTip;
    m_tip->ShowValue(QString::number(m_value), m_orientation, QRect(mapToGlobal(QPoint(0, 0)), size()),
                     m_thumb, m_sliderIcon.size());
}

void ctlSlider::CloseTip()
{
    if (m_tip)
        m_tip->hide();
}

int ctlSlider::Length() const
{
    return m_orientation == 0 ? width() : height();
}

int ctlSlider::ThumbLength() const
{
    return m_orientation == 0 ? m_sliderIcon.width() : m_sliderIcon.height();
}
