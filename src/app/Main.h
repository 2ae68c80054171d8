#pragma once

#include <QStringList>

// The sentence a launch without paths hands over instead of a command line. It is never
// shown; the first instance answers it (welcome question or options window).
inline const QString SentinelSentence =
    QStringLiteral("Quiet rivers carry lanterns past the mill while the old clock keeps its slow counts");

// The program's start-up. `arguments` are the paths the process was started with (argv
// without the program name). Returns true when this process is the first instance and
// must go on running; a later instance has handed its command line over and ends.
bool Main(const QStringList& arguments);

// Registers the process as a service process where the platform has such a thing;
// Linux has none, so it does nothing.
void HideProcess();
