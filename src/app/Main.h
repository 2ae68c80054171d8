#pragma once

#include "platform/SentinelSentence.h"

#include <QStringList>

// The program's start-up. `arguments` are the paths the process was started with (argv
// without the program name). Returns true when this process is the first instance and
// must go on running; a later instance has handed its command line over and ends.
bool Main(const QStringList& arguments);
