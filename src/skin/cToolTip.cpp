#include "cToolTip.h"

#include "SkinColor.h"
#include "TipWindow.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

cToolTip::cToolTip(QObject* parent)
    : QObject(parent), m_font(QToolTip::font()), m_delay(new QTimer(this)), m_visible(new QTimer(this))
{
    m_delay->setObjectName(QStringLiteral("tipDelay"));
    m_visible->setObjectName(QStringLiteral("tipVisible"));
    m_delay->setSingleShot(true);
    m_visible->setSingleShot(true);
    connect(m_delay, &QTimer::timeout, this, &cToolTip::ShowPending);
    connect(m_visible, &QTimer::timeout, this, &cToolTip::Hide);
    SetStyle(1);
    SetTipWidth(300);
    SetBkColor(0xEEFFFF);
    SetTxtColor(0);
    SetDelayTime(500);
    SetVisibleTime(2000);
}

cToolTip::~cToolTip()
{
    // The tip sets live as long as the application object: by the time it deletes them, the
    // windowing system is gone and a tip window can no longer be deleted, only left behind.
    if (!QCoreApplication::closingDown())
        delete m_tip;
}

void cToolTip::SetStyle(int style)
{
    m_style = style == 2 ? 2 : 1;
}

void cToolTip::SetTipWidth(int width)
{
    m_tipWidth = width;
}

void cToolTip::SetBkColor(quint32 color)
{
    m_bkColor = color;
}

void cToolTip::SetTxtColor(quint32 color)
{
    m_txtColor = color;
}

void cToolTip::SetDelayTime(int milliseconds)
{
    m_delay->setInterval(milliseconds);
}

void cToolTip::SetVisibleTime(int milliseconds)
{
    m_visible->setInterval(milliseconds);
}

void cToolTip::SetFont(const QFont& font)
{
    m_font = font;
}

void cToolTip::SetToolTipObj(QWidget* control, const QString& text, bool centre)
{
    if (!control)
        return;
    m_tools.append({control, -1, QRect(), text, centre});
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(text);
    control->installEventFilter(this);
}

void cToolTip::SetToolTipItem(QWidget* window, int item, int left, int top, int right, int bottom,
                              const QString& text, bool centre)
{
    if (!window)
        return;
    m_tools.append({window, item, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), text, centre});
    window->setMouseTracking(true);
    window->installEventFilter(this);
}

void cToolTip::DelToolTip(QWidget* window, int item)
{
    m_tools.removeIf(
        [&](const Tool& tool) { return tool.window == window && (tool.item == item || tool.item < 0); });
    Arm(-1);
}

void cToolTip::AjustItemRect(QWidget* window, int item, int left, int top, int right, int bottom)
{
    for (Tool& tool : m_tools)
        if (tool.window == window && tool.item == item)
            tool.rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString cToolTip::ToolText(QWidget* window, int item) const
{
    for (const Tool& tool : m_tools)
        if (tool.window == window && (tool.item == item || tool.item < 0))
            return tool.text;
    return {};
}

TipWindow* cToolTip::Shown() const
{
    return m_tip && m_tip->isVisible() ? m_tip : nullptr;
}

qsizetype cToolTip::ToolAt(QWidget* window, const QPoint& pos) const
{
    for (qsizetype i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].window == window && (m_tools[i].item < 0 || m_tools[i].rect.contains(pos)))
            return i;
    return -1;
}

bool cToolTip::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        return true; // these controls show our tips, not the toolkit's
    case QEvent::Enter:
        Arm(ToolAt(window, window->mapFromGlobal(QCursor::pos())));
        break;
    case QEvent::MouseMove: {
        const qsizetype tool = ToolAt(window, static_cast<QMouseEvent*>(event)->position().toPoint());
        if (tool != m_pending)
            Arm(tool);
        else if (tool >= 0 && !Shown())
            m_delay->start(); // the pointer must rest before the tip comes
        break;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::Hide:
        Arm(-1);
        break;
    default:
        break;
    }
    return false;
}

void cToolTip::Arm(qsizetype tool)
{
    Hide();
    m_pending = tool;
    if (tool >= 0)
        m_delay->start();
    else
        m_delay->stop();
}

void cToolTip::ShowPending()
{
    if (m_pending < 0 || m_pending >= m_tools.size() || !m_tools[m_pending].window)
        return;
    const Tool& tool = m_tools[m_pending];
    if (!m_tip)
        m_tip = new TipWindow;
    m_tip->SetContent(tool.text, ColorFromValue(m_bkColor), ColorFromValue(m_txtColor), m_tipWidth, m_style,
                      m_font);
    QWidget* window = tool.window;
    QPoint at;
    if (tool.centre) {
        const QRect area = tool.item < 0 ? window->rect() : tool.rect;
        at = window->mapToGlobal(QPoint(area.center().x() - m_tip->width() / 2, area.bottom() + 2));
    } else {
        at = QCursor::pos() + QPoint(m_style == 2 ? -12 : 0, 20);
    }
    // Keep the whole tip on the screen; near the bottom it goes above the pointer instead.
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + m_tip->height() > area.bottom())
            at.setY(QCursor::pos().y() - m_tip->height() - 4);
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - m_tip->width())));
        at.setY(qMax(area.top(), at.y()));
    }
    m_tip->move(at);
    m_tip->show();
    m_visible->start();
}

void cToolTip::Hide()
{
    m_visible->stop();
    if (m_tip)
        m_tip->hide();
}
