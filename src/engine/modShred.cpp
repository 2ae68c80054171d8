#include "modShred.h"

#include "ShredEngine.h"
#include "ShredPasses.h"
#include "ShredRunWindow.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "platform/ParentFolder.h"

#include <QFile>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
const QString Module = QStringLiteral("modShred");
const QString CannotBeRecovered = QStringLiteral("\r\nShredded items cannot be recovered.");
constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 White = 0xFFFFFF;
constexpr int OnlineCheckResumeInterval = 30000;
constexpr int BallInterval = 20;

// The idle work a run pauses and gives back afterwards.
struct IdleWork
{
    bool animation = false;
    bool onlineCheck = false;
};

// Links count as existing: a dangling link on the list is still removed. Any length works.
bool ItemExists(const QString& path)
{
    const ParentFolder parent = ParentFolder::open(path, true);
    struct stat item
    {
    };
    return parent.isOpen() &&
           ::fstatat(parent.fd(), parent.name().constData(), &item, AT_SYMLINK_NOFOLLOW) == 0;
}

IdleWork PauseIdleWork(ShredRunWindow& w)
{
    IdleWork paused;
    paused.animation = w.ControlVisible(RunControl::pic1) || w.ControlVisible(RunControl::btnBall);
    w.SetControlVisible(RunControl::pic1, false);
    w.SetControlVisible(RunControl::btnBall, false);
    w.SetTimerInterval(RunTimer::Timer1, 0);
    paused.onlineCheck = w.TimerInterval(RunTimer::CheckOnline) != 0;
    w.SetTimerInterval(RunTimer::CheckOnline, 0);
    return paused;
}

void ResumeIdleWork(ShredRunWindow& w, const IdleWork& paused)
{
    if (paused.animation) {
        w.SetControlVisible(RunControl::btnOptions, true);
        w.SetControlVisible(RunControl::pic1, true);
        w.SetTimerInterval(RunTimer::Timer1, BallInterval);
    }
    if (paused.onlineCheck)
        w.SetTimerInterval(RunTimer::CheckOnline, OnlineCheckResumeInterval);
}

void ShowShreddingScreen(ShredRunWindow& w)
{
    w.SetShredColor(Yellow);
    w.SetControlVisible(RunControl::btnCancel, true);
    for (RunControl idle : {RunControl::btnYes, RunControl::btnNo, RunControl::btnShow, RunControl::btnHide,
                            RunControl::btnOptions})
        w.SetControlVisible(idle, false);
    w.SetShredTip(QStringLiteral("Cancel"));
    Shared().ListState = QStringLiteral("hidelist");
    // A contracted bar keeps its shape; a full window drops its list.
    if (!w.ControlVisible(RunControl::btnExpand))
        w.ShrinkToHiddenSize();
    w.setCaption(Caption::lblstatus, RunCaption::Shredding);
    w.setCaption(Caption::lblshred, RunCaption::Shredding);
    w.yield();
}

// One item from the top of the list; false when the run must leave its loop.
bool ShredFirstItem(ShredRunWindow& w, ShredEngine& engine)
{
    if (w.caption(Caption::lblstatus) == RunCaption::Stopped) {
        w.setCaption(Caption::lblshred, RunCaption::Stopping);
        w.setCaption(Caption::lblPrompt, RunCaption::Stopping);
        w.yield();
        return false;
    }
    if (w.ListCount() == 0) {
        w.yield();
        w.setCaption(Caption::lblstatus, RunCaption::Stopped);
        return false;
    }
    if (w.ListChecked(0)) {
        const QString path = w.ListText(0);
        if (!ItemExists(path)) {
            // Gone meanwhile: it simply leaves the list.
        } else if (IsSafeLocation(path)) {
            Shared().SafeItemsRemoved = true;
        } else if (w.ListSubItem(0, 1) == QStringLiteral("DIR")) {
            engine.LoadFolders(path);
            w.yield();
        } else {
            w.setCaption(Caption::lblstatus2, RunCaption::Shredding);
            w.yield();
            engine.ShredFile(path, w.ListSubItem(0, 2));
        }
    }
    if (w.caption(Caption::lblstatus) != RunCaption::Shredding) {
        w.setBarValue(Bar::baredit, 0);
        w.setBarValue(Bar::bareditsmall, 0);
    }
    // A Close between two files of a folder walk may have emptied the list meanwhile.
    if (w.ListCount() > 0)
        w.RemoveListItem(0);
    w.yield();
    return true;
}

void EndOfRun(ShredRunWindow& w)
{
    StopShred(w);
    w.yield();
    bool modify = false;
    if (Shared().PromptSafeFiles == 1 && Shared().SafeItemsRemoved)
        modify = w.DoNotShredWarning();
    if (!modify && w.ListCount() == 0)
        w.ClearAll(true);
}

void SetIdleCaptions(ShredRunWindow& w, int n)
{
    const QString count = QString::number(n);
    if (n > 1) {
        w.setCaption(Caption::Label1, count + QStringLiteral(" items"));
        w.setCaption(Caption::lblPrompt, QStringLiteral("Are you sure you want to shred these ") + count +
                                             QStringLiteral(" Items?") + CannotBeRecovered);
        w.setCaption(Caption::lblshred, QStringLiteral("Shred :") + count + QStringLiteral(" items"));
    } else {
        w.setCaption(Caption::Label1, count + QStringLiteral(" item"));
        w.setCaption(Caption::lblPrompt,
                     QStringLiteral("Are you sure you want to shred this item?") + CannotBeRecovered);
        w.setCaption(Caption::lblshred, QStringLiteral("Shred :") + count + QStringLiteral(" item"));
    }
}

void CompleteStop(ShredRunWindow& w)
{
    w.yield();
    w.setCaption(Caption::lblstatus, RunCaption::Stopped);
    w.yield();
    w.SetScroll();
    w.FixDups();
    w.setBarVisible(Bar::baredit, false);
    w.setBarVisible(Bar::bareditsmall, false);
    w.SetControlVisible(RunControl::btnCancel, false);
    for (RunControl idle : {RunControl::btnYes, RunControl::btnNo, RunControl::btnOptions})
        w.SetControlVisible(idle, true);
    w.SetShredColor(White);
    w.SetShredTip(QStringLiteral("Shred now"));
    if (Shared().ListState == QStringLiteral("hidelist"))
        w.HideList();
    SetIdleCaptions(w, w.ItemCount());
}
} // namespace

bool IsSafeLocation(const QString& path)
{
    // An empty entry would be found in every path and refuse everything.
    for (const QString& folder : std::as_const(Shared().SafeFolders))
        if (!folder.isEmpty() && path.contains(folder, Qt::CaseInsensitive))
            return true;
    return false;
}

QString StoppingPrompt(const QString& fileName)
{
    return QStringLiteral("Shredding will stop after the current file has finished.\r\nSHREDDING: ") +
           ShredPasses::nameShown(fileName);
}

void StartShred(ShredRunWindow& w)
{
    // One run at a time. A completed stop shows Yes again while the stopped run may still be
    // leaving a folder walk, and Instant Shred may answer a drop that arrives during a run; a
    // second run then would take items from under the first one. What arrives meanwhile stays
    // on the list for the question at the end.
    static bool running = false;
    if (running)
        return;
    running = true;
    const auto done = qScopeGuard([] { running = false; });
    SharedState& state = Shared();
    state.SafeItemsRemoved = false;
    state.LockedFilesFound = false;
    const IdleWork paused = PauseIdleWork(w);
    bool copyOnWrite = false;
    if (w.ItemCount() > 0) {
        ShowShreddingScreen(w);
        ShredEngine engine(w);
        engine.setStopShred([&w] { StopShred(w); });
        const int n = w.ListCount();
        for (int i = 0; i < n; ++i)
            if (!ShredFirstItem(w, engine))
                break;
        engine.FinishRun();
        copyOnWrite = engine.copyOnWriteFound();
    }
    EndOfRun(w);
    ResumeIdleWork(w, paused);
    if (copyOnWrite) {
        w.yield();
        w.CopyOnWriteWarning();
    }
    if (state.LockedFilesFound) {
        w.yield();
        w.LockedFilesWarning();
        w.ClearAll(true);
    }
}

void StopShred(ShredRunWindow& w)
{
    if (w.caption(Caption::lblstatus2) == RunCaption::Shredding) {
        w.setCaption(Caption::lblshred, RunCaption::Stopping);
        const QString name = w.ListCount() > 0 ? w.ListSubItem(0, 2) : QString();
        w.setCaption(Caption::lblPrompt, StoppingPrompt(name));
        w.yield();
        return;
    }
    CompleteStop(w);
}
