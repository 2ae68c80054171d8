#pragma once

class QWidget;

// Asks an X11 window manager to keep the window off the task bar (_NET_WM_STATE_SKIP_TASKBAR),
// for the window managers that still list tool windows there. Elsewhere it does nothing.
void SkipTaskbar(QWidget* window);
