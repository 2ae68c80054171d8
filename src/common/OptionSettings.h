#pragma once

struct SharedState;

// Stored values the shred could not use, made usable: a wipe count below 1 becomes 1, a method
// outside 1..3 becomes NORMAL with 8 wipes, as the options window sets it.
void CorrectShredSettings(SharedState& state);

// The main window's part of start-up: reads the option settings into the shared state
// (missing or unreadable values give their defaults) and writes back "NumOverwrite",
// "ShredNow", "ShowState", "FastShred" and "PromptSafeFiles", so those keys exist from
// the first start on, the wipe count and method corrected first. "ShowState" is written back as read; the
// layout the user picks later is never stored.
void LoadOptionSettings();
