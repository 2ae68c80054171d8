#pragma once

#include <QString>
#include <QStringList>

// Linux hands a program an argument vector; the program expects one raw command line.
// Each argument is made absolute against `workingFolder` (the first instance runs in
// another folder), wrapped in double quotes when it holds a space, and the arguments are
// joined by single spaces, so that SmartSplit(text, " ") yields them again.
QString RawCommandLine(const QStringList& arguments, const QString& workingFolder);

// The arguments after the program's name, every byte kept (PathBytes): QCoreApplication::arguments
// replaces the bytes of a name that is not UTF-8, and the path would name another file.
QStringList PathArguments(int argc, const char* const* argv);

// The process's working folder, every byte kept; empty when it cannot be read.
QString WorkingFolder();
