#pragma once

#include <QString>

// The desktop's own system-information tool, as a command line: the program's full path
// (in double quotes when it holds a blank), then a blank and its arguments when it needs
// any. The desktop named first in XDG_CURRENT_DESKTOP chooses (KDE: kinfocenter; GNOME:
// gnome-control-center info-overview); otherwise the first of hardinfo,
// gnome-system-monitor, mate-system-monitor and xfce4-taskmanager found on PATH. Empty
// when there is none.
QString SystemInfoTool();
