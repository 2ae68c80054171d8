#pragma once

#include <QString>

// The per-user folder where the program keeps its own files (errlog.dat, version.txt,
// the pending-deletions queue): $XDG_STATE_HOME/Vanisto, by default ~/.local/state/Vanisto.
namespace AppFolder {
// The folder's path without a trailing slash. It is created (mode 0700) on first use;
// when that fails the path is still returned and writes into it fail quietly.
QString path();
// A file inside the folder.
QString file(const QString& name);
} // namespace AppFolder

// $XDG_RUNTIME_DIR/vanisto: the folder for the single-instance lock and the relay socket.
namespace RuntimeFolder {
QString path();
}
