#pragma once

#include <QString>
#include <QStringList>

// Linux hands a program an argument vector; the program expects one raw command line.
// Each argument is made absolute against `workingFolder` (the first instance runs in
// another folder), wrapped in double quotes when it holds a space, and the arguments are
// joined by single spaces, so that SmartSplit(text, " ") yields them again.
QString RawCommandLine(const QStringList& arguments, const QString& workingFolder);
