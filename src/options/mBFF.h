#pragma once

#include <QString>

class QWidget;

// The folder browser: the desktop's own folder chooser (through its portal where one runs,
// Qt's dialog otherwise), showing folders only.

// The folder the next browse opens at; one that does not exist opens the home folder.
void InitFolder(const QString& path);

// The chosen folder's path, or the empty string when the user cancels. `prompt` is the
// browser's title.
QString BrowseForFolder(QWidget* owner, const QString& prompt);
