#pragma once

#include <QString>

// True for what no shred may ever touch: the root folder, a mount point, the user's home
// folder itself, anything inside the operating system's own folders (/bin /boot /dev /etc
// /lib* /opt /proc /run /sbin /snap /srv /sys /usr, and /var except /var/tmp), and
// anything that is not a regular file, a folder or a symbolic link (devices, FIFOs,
// sockets). Relative paths are taken against the working folder. The path is tested as
// written and where the kernel would find it (the folders on the way resolved, ".." taken
// after links, the item itself not followed), so "/tmp/../etc/x", a link to /etc on the
// way and "link/../x" are all caught. A path that does not exist is a system item only by
// its place; the empty path is one, as it names nothing to shred.
bool IsSystemItem(const QString& path);

// Only the place test: true when the cleaned absolute path is the root, the home
// folder itself or inside one of the operating system's folders.
bool IsSystemPlace(const QString& absolutePath);

// True when the path is the user's applications menu folder (the "Start Menu" of the
// registry routines, $XDG_DATA_HOME/applications), also when written with a trailing
// slash or "." segments; letter case counts. What lies inside the folder is not.
bool IsStartMenuFolder(const QString& path);
