#pragma once

#include <QString>

// The desktop entry that starts the program with the session:
// $XDG_CONFIG_HOME/autostart/vanisto.desktop, with nothing on its command line but the
// program itself (a launch without paths).
namespace AutostartEntry {
QString folder();
QString filePath();

// The whole entry for the given executable.
QString text(const QString& executable);

// A path as one argument of an Exec key: always quoted, with the quoting rule's and the
// string type's escapes and "%" doubled, so that no character of a path can change the
// command.
QString execArgument(const QString& path);

// The program of an entry's Exec key (its first argument, escapes undone); empty when the
// entry has no Exec key.
QString programOf(const QString& entryText);

// Writes the entry, replacing any earlier one whole. False when the file cannot be written.
bool write(const QString& executable);

// The program the entry on disk starts; empty when there is no entry.
QString read();
} // namespace AutostartEntry
