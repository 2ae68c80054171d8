#pragma once

#include "ShredWindow.h"

// Controls of the main window whose visibility a run switches.
enum class RunControl
{
    btnCancel,
    btnYes,
    btnNo,
    btnShow,
    btnHide,
    btnOptions,
    btnExpand,
    pic1,
    btnBall
};

// The main window's two timers that a run pauses: the announcements ball and the online check.
enum class RunTimer
{
    Timer1,
    CheckOnline
};

// What a whole shred run needs of the main window on top of what the engine sees: the Shred
// List it consumes from the top, the buttons it hides and shows, the idle timers it pauses
// and the two warnings it may have to give. The main window implements it; the run's tests
// implement it without widgets.
class ShredRunWindow : public ShredWindow
{
public:
    // The Shred List, 0-based. SubItem column 1 is the icon key ("DIR" for a folder), column 2
    // the name.
    virtual int ListCount() const = 0;
    virtual QString ListText(int index) const = 0;
    virtual QString ListSubItem(int index, int column) const = 0;
    virtual bool ListChecked(int index) const = 0;
    virtual void RemoveListItem(int index) = 0;
    // The list's bookkeeping count, which lags behind the view during a run until FixDups.
    virtual qint16 ItemCount() const = 0;
    virtual void SetScroll() = 0;
    virtual void FixDups() = 0;
    virtual void ClearAll(bool hideWindow) = 0;

    virtual bool ControlVisible(RunControl control) const = 0;
    virtual void SetControlVisible(RunControl control, bool visible) = 0;
    // lblshred's text colour, 0x00BBGGRR.
    virtual void SetShredColor(quint32 color) = 0;
    // Registers the Shred button's tip again with this text.
    virtual void SetShredTip(const QString& text) = 0;
    // 0 is a stopped timer.
    virtual int TimerInterval(RunTimer timer) const = 0;
    virtual void SetTimerInterval(RunTimer timer, int milliseconds) = 0;

    // The list-hidden size at the current position, painted again.
    virtual void ShrinkToHiddenSize() = 0;
    // The list-hidden layout with the show-list button offered.
    virtual void HideList() = 0;

    // The 'Do Not Shred' warning sequence with the run-time message; true when the user chose
    // to modify the 'Do Not Shred' list.
    virtual bool DoNotShredWarning() = 0;
    // Tells the user that files were queued for deletion at the next start.
    virtual void LockedFilesWarning() = 0;
    // Tells the user that files lay where overwriting cannot reach their old content.
    virtual void CopyOnWriteWarning() = 0;
};
