#pragma once

#include "platform/CommandRelay.h"
#include "platform/SentinelSentence.h"

#include <QStringList>

// How start-up ended for this process.
enum class StartResult
{
    FirstInstance, // goes on running its event loop
    HandedOver,    // a later launch whose arguments the first instance took
    NotDelivered   // a later launch that could not hand its arguments over
};

// The program's start-up. `arguments` are the paths the process was started with (argv
// without the program name). In the first instance `startFirstInstance` opens the relay to
// later launches and loads the windows, before the command line goes out; a later launch
// never calls it, and hands over without loading any window. A later launch that cannot
// deliver says why on standard error.
StartResult Main(const QStringList& arguments, void (*startFirstInstance)() = nullptr);
// A later launch's hand-over was not taken: says so in the error log and on standard error.
void ReportNotDelivered(CommandRelay::Delivery delivery);
