#pragma once

#include <QString>
#include <QStringList>

// Linux hands a program an argument vector, and every argument of vn10 is a path. Each is
// made absolute against `workingFolder` (the first instance runs in another folder) and kept
// otherwise as it is: never joined into one text and split again, which could only lose or
// change what the user chose (a quote is part of a name). Empty arguments are dropped.
QStringList AbsolutePaths(const QStringList& arguments, const QString& workingFolder);

// The arguments after the program's name, every byte kept (PathBytes): QCoreApplication::arguments
// replaces the bytes of a name that is not UTF-8, and the path would name another file.
QStringList PathArguments(int argc, const char* const* argv);

// The process's working folder, every byte kept; empty when it cannot be read.
QString WorkingFolder();
