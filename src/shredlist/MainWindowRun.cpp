#include "frmMainCode.h"

#include "MainWindowLayout.h"
#include "engine/modShred.h"
#include "options/frmOptions.h"
#include "shredlist/LstArray.h"
#include "shredlist/modGeneral.h"
#include "skin/MyTopButton.h"
#include "skin/SkinColor.h"
#include "skin/cToolTip.h"
#include "skin/cpvProgressBar.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QCoreApplication>
#include <QLabel>

// The run's buttons, and what the engine (ShredWindow) and the run (ShredRunWindow) see of the
// main window: the captions that carry the run's state, the bars, the list, the controls.

using namespace MainWindowLayout;

// ---------------------------------------------------------------------------------------------
// Buttons of the run

void frmMainCode::btnShred_MouseUp()
{
    yield();
    if (m_lblstatus->text() == RunCaption::Stopped)
        StartShred(*this);
    else
        StopShred(*this);
}

void frmMainCode::btnYes_MouseUp()
{
    StartShred(*this);
}

void frmMainCode::btnNo_MouseUp()
{
    ClearAll(true);
}

void frmMainCode::btnCancel_MouseUp()
{
    StopShred(*this);
}

void frmMainCode::btnClose_MouseUp()
{
    if (m_lblstatus2->text() == RunCaption::Shredding) {
        setCaption(Caption::lblshred, RunCaption::Stopping);
        setCaption(Caption::lblPrompt, StoppingPrompt(ListCount() > 0 ? ListSubItem(0, 2) : QString()));
        return;
    }
    StopShred(*this);
    yield();
    ClearAll(true);
}

void frmMainCode::btnOptions_MouseUp()
{
    OpenOptionsWindow(this);
}

// ---------------------------------------------------------------------------------------------
// What the engine and the run see

QString frmMainCode::caption(Caption label) const
{
    switch (label) {
    case Caption::lblstatus:
        return m_lblstatus->text();
    case Caption::lblstatus2:
        return m_lblstatus2->text();
    case Caption::lblshred:
        return m_lblshred->text();
    case Caption::lblPrompt:
        return m_lblPrompt->text();
    case Caption::Label1:
        return m_Label1->text();
    }
    return {};
}

void frmMainCode::setCaption(Caption label, const QString& text)
{
    switch (label) {
    case Caption::lblstatus:
        m_lblstatus->setText(text);
        break;
    case Caption::lblstatus2:
        m_lblstatus2->setText(text);
        break;
    case Caption::lblshred:
        m_lblshred->setText(text);
        m_lblshred->adjustSize();
        break;
    case Caption::lblPrompt:
        m_lblPrompt->setText(text);
        m_lblPrompt->adjustSize();
        break;
    case Caption::Label1:
        m_Label1->setText(text);
        m_Label1->adjustSize();
        break;
    }
}

void frmMainCode::setBarVisible(Bar bar, bool visible)
{
    (bar == Bar::baredit ? m_baredit : m_bareditsmall)->setVisible(visible);
}

void frmMainCode::setBarMax(Bar bar, qint64 max)
{
    cpvProgressBar* target = bar == Bar::baredit ? m_baredit : m_bareditsmall;
    if (const long error = target->SetMax(qint32(qMin<qint64>(max, INT32_MAX))); error != 0)
        Log(QStringLiteral("setBarMax"), error, QStringLiteral("Invalid property value"));
}

void frmMainCode::setBarValue(Bar bar, qint64 value)
{
    cpvProgressBar* target = bar == Bar::baredit ? m_baredit : m_bareditsmall;
    if (const long error = target->SetValue(qint32(qMin<qint64>(value, INT32_MAX))); error != 0)
        Log(QStringLiteral("setBarValue"), error, QStringLiteral("Invalid property value"));
}

bool frmMainCode::expandVisible() const
{
    return Shown(m_btnExpand);
}

void frmMainCode::yield()
{
    QCoreApplication::processEvents();
}

int frmMainCode::ListCount() const
{
    return m_LstArray->Count();
}

QString frmMainCode::ListText(int index) const
{
    return m_LstArray->Text(index);
}

QString frmMainCode::ListSubItem(int index, int column) const
{
    return m_LstArray->SubItem(index, column);
}

bool frmMainCode::ListChecked(int index) const
{
    return m_LstArray->Checked(index);
}

void frmMainCode::RemoveListItem(int index)
{
    m_LstArray->RemoveItem(index);
}

qint16 frmMainCode::ItemCount() const
{
    return m_shredList.ItemCount();
}

void frmMainCode::SetScroll()
{
    m_shredList.SetScroll();
}

void frmMainCode::FixDups()
{
    m_shredList.FixDups();
}

void frmMainCode::ClearAll(bool hideWindow)
{
    m_shredList.ClearAll(hideWindow);
}

namespace {
QWidget* ControlOf(const frmMainCode& w, RunControl control)
{
    static const char* const names[] = {"btnCancel",  "btnYes",    "btnNo", "btnShow", "btnHide",
                                        "btnOptions", "btnExpand", "pic1",  "btnBall"};
    return w.findChild<QWidget*>(QLatin1String(names[int(control)]));
}
} // namespace

bool frmMainCode::ControlVisible(RunControl control) const
{
    return Shown(ControlOf(*this, control));
}

void frmMainCode::SetControlVisible(RunControl control, bool visible)
{
    ControlOf(*this, control)->setVisible(visible);
}

void frmMainCode::SetShredColor(quint32 color)
{
    QPalette palette = m_lblshred->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(color));
    m_lblshred->setPalette(palette);
}

// A second registration replaces the first: the tip always names what the button does now.
void frmMainCode::SetShredTip(const QString& text)
{
    ControlTips().DelToolTip(m_btnShred);
    ControlTips().SetToolTipObj(m_btnShred, text);
    m_btnShred->setAccessibleName(text);
}

int frmMainCode::TimerInterval(RunTimer timer) const
{
    const QTimer& t = timer == RunTimer::Timer1 ? m_Timer1 : m_CheckOnline;
    return t.isActive() ? t.interval() : 0;
}

void frmMainCode::SetTimerInterval(RunTimer timer, int milliseconds)
{
    QTimer& t = timer == RunTimer::Timer1 ? m_Timer1 : m_CheckOnline;
    if (milliseconds == 0)
        t.stop();
    else
        t.start(milliseconds);
}

void frmMainCode::ShrinkToHiddenSize()
{
    resize(PixelsX(HiddenWidth), PixelsY(HiddenHeight));
    PlaceButtonRow();
    MakeWindow(this, 5);
}

bool frmMainCode::DoNotShredWarning()
{
    return DoNotShredWarningSequence(this, DoNotShredMoment::Run);
}

void frmMainCode::LockedFilesWarning()
{
    ShowLockedFilesWarning(this);
}

void frmMainCode::CopyOnWriteWarning()
{
    ShowCopyOnWriteWarning(this);
}
