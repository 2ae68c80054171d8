#pragma once

// The main window's part of start-up: reads the option settings into the shared state
// (missing or unreadable values give their defaults) and writes back "NumOverwrite",
// "ShredNow", "ShowState", "FastShred" and "PromptSafeFiles", so those keys exist from
// the first start on. "ShowState" is written back as read; the layout the user picks
// later is never stored.
void LoadOptionSettings();
