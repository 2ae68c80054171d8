#pragma once

#include <QString>

// The program starts with the session so that it is always there to receive paths.

// Always true: the start-with-the-session entry lives where the NT family keeps it.
bool IsWinNT();

// Registers the running vn10 to start with the session (the autostart entry), replacing
// any earlier entry, so a moved program is found again. Silent when the entry cannot be
// written; the entry is never removed.
void StartOnWin();

// The executable's full path: the folder, a "/" unless the folder ends with one, and the
// executable's base name.
QString ExecutablePath(const QString& folder);
