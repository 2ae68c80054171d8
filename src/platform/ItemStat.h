#pragma once

#include "FileDescriptor.h"

#include <QString>

#include <fcntl.h>
#include <sys/stat.h>

// fstatat and openat for a path of any length, its bytes exactly as PathBytes gives them. A path
// longer than PATH_MAX is reached through its folder opened the way the kernel walks the path
// (ParentFolder) instead of looking missing.

// As lstat by default; flags 0 follows a link as stat does. False (errno set) when the item
// cannot be reached.
bool StatItem(const QString& path, struct stat* info, int flags = AT_SYMLINK_NOFOLLOW);
// As open with the given flags; invalid (errno set) when the item cannot be opened.
FileDescriptor OpenItem(const QString& path, int flags);
