#pragma once

#include <QString>
#include <QStringList>

// The per-user entries that put "Delete with Vanisto" into the context menus of the file
// managers installed here, each in its own format and place: Dolphin (a service menu), Nautilus
// and Caja (scripts), Nemo (an action), Thunar (an action merged into the user's uca.xml) and
// PCManFM-Qt (a file-manager action). Each runs the helper with the selection, one path per
// argument. Entries are files, so they outlive the program: a click starts it when it is not
// running.
namespace ShellMenuEntries {
inline const QString Caption = QStringLiteral("Delete with Vanisto");
inline const QString IconName = QStringLiteral("vanisto");

// Writes the entries of the file managers found on PATH for the helper at `helper`, and brings
// older ones up to date; an entry already as it should be is not touched. Returns the files
// written; what could not be written, and why, goes to `problems`.
QStringList Install(const QString& helper, QStringList* problems);

// Takes out every entry Install writes, the Thunar action included, leaving everything else of
// the user's as it was.
void Remove();
} // namespace ShellMenuEntries
