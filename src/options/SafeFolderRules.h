#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct SharedState;

// The 'Do Not Shred' list without the window. The folders live in Shared().SafeFolders, where
// the screening of drops and runs reads them, and in the setting "SafeFiles" as every path
// followed by ";". Every change here updates both in the same step.
namespace SafeFolderRules {
// The most folders the stored text is read back with.
inline constexpr int MaxFolders = 100;

// "SafeFiles" for a list: each path followed by ";".
QString ListText(const QStringList& folders);

// The folders of a stored "SafeFiles", in their order (at most MaxFolders; more are logged).
QStringList Load(const QString& stored);

// Why `path` cannot be added so that the stored list reads it back as it is: the list is full,
// the path holds ";" or a double quote (the stored text's separator and quote), or the whole
// text would grow past what is read back. Empty when it can be added.
QString RefusalReason(const SharedState& state, const QString& path);

// Appends `path` and stores the list.
void AddFolder(SharedState& state, const QString& path);

// "Clear Selected": the unticked folders stay, in the reverse of their order; the list is
// stored. Returns the folders kept, in their new order.
QStringList ClearSelected(SharedState& state, const QList<bool>& ticked);

// "Clear All": no folder is protected any more.
void ClearAll(SharedState& state);
} // namespace SafeFolderRules
