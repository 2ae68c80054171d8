#pragma once

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
// without the program name). A later launch that cannot deliver says why on standard error.
StartResult Main(const QStringList& arguments);
