#pragma once

#include <QString>
#include <QStringList>

// The process-wide state that several windows and the engine share. There is one user
// interface thread, so plain fields are enough; every reader and writer is named in the
// comments.
struct SharedState
{
    // Start-up: set by Main.
    bool IsFirstInstance = false;
    // True until the welcome question has been asked (or the program has run before).
    bool FirstStartEver = true;

    // Options, loaded by the main window and edited by the options window.
    qint32 NumOverwrite = 8;    // wipes
    qint16 FastShred = 1;       // shred method: 1 NORMAL, 2 ENHANCED, 3 ULTRA
    bool ShredNow = false;      // Instant Shred: no confirmation before a run
    qint16 PromptSafeFiles = 1; // the 'Do Not Shred' warning is shown only when 1
    bool PromptSafeFilesQuestion = true;

    // "hidelist" or "showlist": the main window's current layout.
    QString ListState = QStringLiteral("hidelist");

    // The 'Do Not Shred' folders (their count is SafeFolders.size()).
    QStringList SafeFolders;

    // Run flags: protected items were met; a file was queued for deletion at the next start.
    bool SafeItemsRemoved = false;
    bool LockedFilesFound = false;
};

SharedState& Shared();
