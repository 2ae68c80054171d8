#include "TipWindow.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int Padding = 4;
constexpr int Tail = 8; // height of the balloon's tail
} // namespace

TipWindow::TipWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("tipWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TipWindow::SetContent(const QString& text, const QColor& background, const QColor& textColor,
                           int maxWidth, int style, const QFont& font)
{
    m_text = text;
    m_background = background;
    m_textColor = textColor;
    m_style = style;
    setFont(font);
    const QFontMetrics metrics(font);
    const int limit = qMax(1, maxWidth - 2 * Padding);
    const QRect bounds = metrics.boundingRect(QRect(0, 0, limit, 10000), Qt::TextWordWrap, text);
    const int balloon = style == 2 ? Tail + Padding : 0;
    setFixedSize(bounds.width() + 2 * Padding + 2 * (style == 2 ? Padding : 0),
                 bounds.height() + 2 * Padding + balloon);
    update();
}

QRect TipWindow::TextRect() const
{
    const int inset = m_style == 2 ? 2 * Padding : Padding;
    const int top = m_style == 2 ? Tail + Padding + Padding / 2 : Padding;
    return QRect(inset, top, width() - 2 * inset,
                 height() - top - (m_style == 2 ? Padding / 2 + Padding : Padding));
}

void TipWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, m_style == 2);
    painter.setPen(m_textColor);
    painter.setBrush(m_background);
    if (m_style == 2) {
        QPainterPath path;
        const QRectF body = QRectF(rect()).adjusted(0.5, Tail + 0.5, -0.5, -0.5);
        path.addRoundedRect(body, 6, 6);
        QPainterPath tail;
        tail.moveTo(12, body.top() + 1);
        tail.lineTo(14, 0.5);
        tail.lineTo(24, body.top() + 1);
        tail.closeSubpath();
        painter.drawPath(path.united(tail));
    } else {
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.drawText(TextRect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_text);
}
