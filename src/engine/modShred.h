#pragma once

#include <QString>

class ShredRunWindow;

// True when the path lies in a 'Do Not Shred' folder of Shared().SafeFolders: any folder's text
// found anywhere in the path, letter case ignored (a substring test, not a prefix test).
bool IsSafeLocation(const QString& path);

// Runs the whole Shred List from the top: every checked item is screened again and shredded,
// every item leaves the list. Returns when the run is over; it yields to the window throughout.
void StartShred(ShredRunWindow& window);

// While a file is in progress: records the stop request (lblshred "Stopping"), which the engine
// completes when the file is finished. Otherwise: completes the stop and restores the idle screen.
void StopShred(ShredRunWindow& window);

// lblPrompt while a stop waits for the file in progress.
QString StoppingPrompt(const QString& fileName);
