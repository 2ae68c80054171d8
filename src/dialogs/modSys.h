#pragma once

#include "platform/Registry.h"

#include <QString>

// The desktop's system-information tool, which StartSysInfo (modDialog.h) starts, and the
// registry read that finds it.

// Reads one string value into keyVal. True when the value was read; false (keyVal empty)
// when the key or the value is missing.
bool GetKeyValue(Registry::Root keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyVal);

// Starts the tool named by the registry's MSINFO path. False, and logged when the named program
// cannot be started, when there is none.
bool StartSysInfoTool();
