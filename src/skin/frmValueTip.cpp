#include "frmValueTip.h"

#include "SkinColor.h"
#include "SliderGeometry.h"
#include "modSkinForm.h"

#include <QLabel>
#include <QPainter>

frmValueTip::frmValueTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_lblTip(new QLabel(this))
{
    setObjectName(QStringLiteral("frmValueTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_lblTip->setObjectName(QStringLiteral("lblTip"));
    m_lblTip->move(2, 1);
    setAutoFillBackground(true);
}

void frmValueTip::ShowValue(const QString& text, int orientation, const QRect& control, const QPoint& thumb,
                            const QSize& thumbSize)
{
    const QFontMetrics metrics(m_lblTip->font());
    const QSize label(metrics.horizontalAdvance(text), metrics.height());
    m_lblTip->setText(text);
    m_lblTip->resize(label);
    move(SliderGeometry::ValueTipPosition(orientation, control, thumb, thumbSize, label));
    resize(SliderGeometry::ValueTipSize(label));
    show();
}

void frmValueTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(ColorFromValue(SkinColor::Light3D, palette()));
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(ColorFromValue(SkinColor::DarkShadow3D, palette()));
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(0, bottom, right, bottom);
}

void frmValueTip::resizeEvent(QResizeEvent*)
{
    MakeTopMost(this);
    update();
}
