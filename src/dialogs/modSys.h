#pragma once

#include "DialogAnswer.h"
#include "platform/Registry.h"

#include <QString>

// The desktop's system-information tool, started from the message dialog's System button and
// the about window's System Info: StartSysInfo, and the registry read that finds the tool.

// Reads one string value into keyVal. True when the value was read; false (keyVal empty)
// when the key or the value is missing.
bool GetKeyValue(Registry::Root keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyVal);

// StartSysInfo is defined in modSys.cpp and declared in DialogAnswer.h, so that the message
// dialog, which the notice itself is shown in, can start the tool without including this file.
