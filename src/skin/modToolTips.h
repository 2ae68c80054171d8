#pragma once

class QWidget;
class cToolTip;

// The program-wide tooltips: one instance for controls (image buttons, picture boxes) and
// one for areas of a window (a label that has no window of its own). Both are made on
// first use; InitializeTips gives them the program's colours and delays (black on light
// yellow, shown after 1000 ms for 5000 ms) when the main window loads. CreateTips registers
// the tips of one window, found by its name; a window of another name gets none. Errors are
// logged under "modToolTips:<procedure>" and end the procedure.
void InitializeTips();
void CreateTips(QWidget* window);

cToolTip& ControlTips();
cToolTip& AreaTips();
