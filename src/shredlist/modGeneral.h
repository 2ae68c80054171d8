#pragma once

#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;
class ShredRunWindow;
class frmMainCode;

// Files dropped on the main window: each one outside the 'Do Not Shred' folders goes to the
// Shred List, the others are skipped and reported once by the warning sequence. Only the
// drop's local files count.
void DropOnMe(frmMainCode& window, const QMimeData* data);

// Paths chosen in a file manager's "Delete with Vanisto", screened as a drop is: each one
// outside the 'Do Not Shred' folders joins the Shred List, the others are reported once.
void ContextMenu_Click(frmMainCode& window, const QStringList& selection);

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
