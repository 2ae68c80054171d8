#pragma once

#include <QString>

// The XDG base folders: the variable when it holds an absolute path, otherwise its
// default below the home folder. Read at every call, so a changed environment counts.
namespace XdgFolders {
QString configHome(); // $XDG_CONFIG_HOME, ~/.config
QString dataHome();   // $XDG_DATA_HOME, ~/.local/share
QString stateHome();  // $XDG_STATE_HOME, ~/.local/state
} // namespace XdgFolders
