#pragma once

// Registers the process as a service process where the platform has such a thing;
// Linux has none, so it does nothing.
void HideProcess();
