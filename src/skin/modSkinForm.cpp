#include "modSkinForm.h"

#include "SkinColor.h"
#include "SkinErrors.h"
#include "SkinGeometry.h"
#include "SkinSurface.h"
#include "SkipTaskbar.h"
#include "WindowDragger.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "frmPics.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
int g_twipsX = 0;
int g_twipsY = 0;
bool g_handCursor = false;

const QString Module = QStringLiteral("modSkinForm");

// A procedure's failure: what goes to the log, after which the procedure stops.
struct Failure
{
    long number;
    const char* description;
};

void Log(const QString& procedure, const Failure& failure)
{
    LogError(Module, procedure, failure.number, QLatin1String(failure.description));
}

constexpr Failure NoWindow{SkinError::ObjectNotSet, SkinError::ObjectNotSetText};
constexpr Failure NoControl{SkinError::NoSuchMember, SkinError::NoSuchMemberText};

QWidget* Control(QWidget* window, const QString& name)
{
    return window->findChild<QWidget*>(name);
}

void SetStaysOnTop(QWidget* window, bool on)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window->windowFlags())
        return;
    if (QWindow* handle = window->windowHandle()) {
        // Telling the existing native window keeps it shown; setWindowFlags would hide it.
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

void SetTextColor(QLabel* label, quint32 color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(color));
    label->setPalette(palette);
}

class Painter
{
public:
    explicit Painter(QWidget* window) : m_window(window) {}
    ~Painter() { commit(); }

    // Carries out one step; false (with the failure set) when the window lacks a control.
    bool run(const SkinOp& op)
    {
        switch (op.kind) {
        case SkinOp::Kind::MakeTopMost:
            MakeTopMost(m_window);
            return true;
        case SkinOp::Kind::SetIcon:
            return setIcon(op.name);
        case SkinOp::Kind::PlaceControl:
            if (QWidget* control = Control(m_window, op.name)) {
                control->move(op.pos);
                return true;
            }
            return false;
        case SkinOp::Kind::BackColor:
            m_surface = QPixmap(m_window->size());
            if (!m_surface.isNull()) {
                m_surface.fill(ColorFromValue(SkinColor::Background));
                m_painter.begin(&m_surface);
            }
            return true;
        case SkinOp::Kind::DrawImage:
            if (m_painter.isActive()) // a window of no size has nothing to draw on
                m_painter.drawPixmap(op.pos, frmPics::Picture(op.name));
            return true;
        case SkinOp::Kind::Transparency:
            DoTransparency(m_window);
            return true;
        }
        return true;
    }

private:
    bool setIcon(const QString& image)
    {
        auto* icon = qobject_cast<QLabel*>(Control(m_window, QStringLiteral("ImgIcon")));
        if (!icon)
            return false;
        const QPixmap picture = frmPics::Picture(image);
        icon->setPixmap(picture);
        icon->resize(picture.size());
        return true;
    }

    // Whatever was painted before a failure stays on the window, as it would on screen.
    void commit()
    {
        if (!m_painter.isActive())
            return;
        m_painter.end();
        SkinSurface::of(m_window)->setPicture(m_surface);
    }

    QWidget* m_window;
    QPixmap m_surface;
    QPainter m_painter;
};
} // namespace

int TwipsX()
{
    return g_twipsX;
}

int TwipsY()
{
    return g_twipsY;
}

int PixelsX(double twips)
{
    return qRound(twips / (g_twipsX ? g_twipsX : 15));
}

int PixelsY(double twips)
{
    return qRound(twips / (g_twipsY ? g_twipsY : 15));
}

void RefreshTwips(QScreen* screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    g_twipsX = TwipsPerPixel(screen ? screen->logicalDotsPerInchX() : 96);
    g_twipsY = TwipsPerPixel(screen ? screen->logicalDotsPerInchY() : 96);
}

void SetSkinnedWindowFlags(QWidget* window)
{
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint | Qt::Tool);
    SkipTaskbar(window);
}

void MakeWindow(QWidget* window, int iconKind)
{
    if (!window) {
        Log(QStringLiteral("MakeWindow"), NoWindow);
        return;
    }
    RefreshTwips(window->screen());
    SkinWindow w;
    w.width = window->width();
    w.height = window->height();
    w.twipsX = g_twipsX;
    w.twipsY = g_twipsY;
    w.name = window->objectName();
    w.iconKind = iconKind;
    if (QWidget* shred = Control(window, QStringLiteral("btnShred")))
        w.btnShredWidth = shred->width();
    if (QWidget* label = Control(window, QStringLiteral("lblshred")))
        w.lblshredTop = label->y();
    w.listState = Shared().ListState;

    Painter painter(window);
    for (const SkinOp& op : MakeWindowOps(w)) {
        if (!painter.run(op)) {
            Log(QStringLiteral("MakeWindow"), NoControl);
            return;
        }
    }
}

void DoTransparency(QWidget* window)
{
    if (!window) {
        Log(QStringLiteral("DoTransparency"), NoWindow);
        return;
    }
    window->setMask(RoundRectRegion(window->width(), window->height()));
}

void DoDrag(QWidget* window)
{
    if (!window) {
        Log(QStringLiteral("DoDrag"), NoWindow);
        return;
    }
    window = window->window();
    if (window->windowState().testFlag(Qt::WindowMaximized))
        return;
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
        return;
    new WindowDragger(window, QCursor::pos());
}

void MakeTopMost(QWidget* window)
{
    if (!window) {
        Log(QStringLiteral("MakeTopMost"), NoWindow);
        return;
    }
    SetStaysOnTop(window->window(), true);
}

void MakeNormal(QWidget* window)
{
    if (!window) {
        Log(QStringLiteral("MakeNormal"), NoWindow);
        return;
    }
    SetStaysOnTop(window->window(), false);
}

void LinkHover(QLabel* label, float X, float Y)
{
    if (!label) {
        Log(QStringLiteral("LinkHover"), NoWindow);
        return;
    }
    const bool inside = X >= 0 && X <= label->width() * g_twipsX && Y >= 0 && Y <= label->height() * g_twipsY;
    SetTextColor(label, inside ? SkinColor::LinkHot : SkinColor::LinkNormal);
}

void LinkNormal(QLabel* label)
{
    if (!label) {
        Log(QStringLiteral("LinkNormal"), NoWindow);
        return;
    }
    SetTextColor(label, SkinColor::LinkNormal);
}

QLabel* SurfaceLabel(QWidget* window, const QString& name, QWidget* parent, int pointSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(0xFFFFFF));
    label->setPalette(palette);
    label->setMouseTracking(true);
    label->installEventFilter(window);
    return label;
}

bool SurfaceMouseEvent(QWidget* window, const QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        SetHandCur(false);
    } else if (event->type() == QEvent::MouseButtonPress &&
               static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
        DoDrag(window);
        return true;
    }
    return false;
}

void SetHandCur(bool flag)
{
    // An application-wide override, so every widget under the pointer shows it until the
    // surface's next move asks for the arrow again.
    if (flag && !g_handCursor)
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    else if (!flag && g_handCursor)
        QGuiApplication::restoreOverrideCursor();
    g_handCursor = flag;
}
