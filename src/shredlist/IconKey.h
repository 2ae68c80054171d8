#pragma once

#include <QString>

// Files that carry icons of their own (programs, icons, libraries, controls, links) are
// keyed by their full path; every other file shares one image per extension; folders
// share "DIR". The key doubles as the item's type marker: "DIR" means a folder.
inline const QString FolderIconKey = QStringLiteral("DIR");

// Everything after the last "." anywhere in the path, so a dot in a folder name counts
// when the file name has none ("/tmp/v1.0/readme" gives "0/readme"); empty without a dot.
QString FileExtension(const QString& path);

// The icon key of a path; isFolder is what lstat says.
QString IconKey(const QString& path, bool isFolder);
