#pragma once

#include <QString>

class QWidget;
class ShredRunWindow;

// The questions and warnings around a run, which the main window asks (the screening of what
// arrives is in DropsAndCommandLine.cpp, beside the window's drops).

// Starts a run at once when Instant Shred is on; otherwise the question stays on the window.
void RunNowQuery(ShredRunWindow& window);

// When the 'Do Not Shred' warning is given: items were left out as they arrived, or removed
// from the list as a run met them.
enum class DoNotShredMoment
{
    Add,
    Run
};

// The 'Do Not Shred' warning, the once-only question whether to warn again, and on request
// the options window. Returns true when the user chose to modify the 'Do Not Shred' list:
// the caller then ends its handling.
bool DoNotShredWarningSequence(QWidget* owner, DoNotShredMoment moment);

// The end-of-run report of files queued for deletion at the next start.
void ShowLockedFilesWarning(QWidget* owner);
// After a run that met copy-on-write or network storage: the files are gone, their old blocks
// may not be.
void ShowCopyOnWriteWarning(QWidget* owner);

// A Yes/No question; true for Yes.
bool AskYesNo(QWidget* owner, const QString& message, const QString& title);
