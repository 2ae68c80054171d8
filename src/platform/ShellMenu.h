#pragma once

#include "platform/CommandRelay.h"
#include "platform/RelayProtocol.h"

#include <QString>
#include <QStringList>

// "Delete with Vanisto" in the file managers' context menus. The file managers run the helper
// vanisto-shellmenu with the selection as its arguments; it asks whether the entry is offered
// (BeforePopup) and hands a click to the running instance, starting one when none runs.
namespace ShellMenu {
// The first element of a hand-over that comes from the menu. Every other hand-over is the
// sentinel sentence or absolute paths, so it cannot be taken for a path.
inline const QString ClickMarker = QStringLiteral("ContextMenu_Click");

// Set in the environment of a vn10 that the helper starts.
using RelayProtocol::StartedForMenuVariable;

// Whether the entry is offered for the selection: not for an empty one, nor when it holds a
// system item or the user's applications folder itself.
bool EntryOffered(const QStringList& selection);

// Hands the click to the running instance. When none listens, starts `program` (once, however
// many clicks arrive while it starts) and hands the click over as soon as it listens.
CommandRelay::Delivery DeliverClick(const QStringList& selection, const QString& program);
} // namespace ShellMenu
