#pragma once

#include "platform/Registry.h"

#include <QString>

// The desktop's system-information tool, started from the message dialog's System button.

// Reads one string value into keyVal. True when the value was read; false (keyVal empty)
// when the key or the value is missing.
bool GetKeyValue(Registry::Root keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyVal);

// Starts the tool. When there is none, or it cannot be started, the notice "System
// Information Is Unavailable At This Time." is shown through ShowDialog over the main window.
void StartSysInfo();
