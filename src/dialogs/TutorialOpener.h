#pragma once

#include <functional>

class QWidget;

// The tutorial, as the about and options windows' Tutorial buttons open it, modally over the
// main window. The tutorial opens the options window in turn, so its library hands the opener
// in here rather than being linked from the windows that call it; until one is handed in,
// OpenTutorialWindow does nothing.
void SetTutorialOpener(std::function<void(QWidget* mainWindow)> opener);
void OpenTutorialWindow(QWidget* mainWindow);
