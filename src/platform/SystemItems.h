#pragma once

#include <QByteArray>
#include <QString>

// What no shred may ever touch, and why. The item is found as the kernel finds it (the
// folders on the way resolved, links among them followed, the item itself not followed) and
// judged by what was opened, device and inode, never by the text of its path, so a folder
// swapped for a link half-way cannot smuggle a system folder past the test. Refused are:
// the root folder, the user's home folder and every folder that holds it, a mount point,
// the operating system's own folders and everything in them (/bin /boot /dev /etc /lib*
// /opt /proc /run /sbin /snap /srv /sys /usr, and /var except /var/tmp), FIFOs, sockets and
// devices, everything right in the root folder, and a path whose last component is "." or "..". A path that
// does not exist is judged by the text of its place only; the empty path names nothing to shred.

// The reason in words a user understands ("a FIFO", "the home folder" ...), empty when the
// item may be shredded.
QString SystemItemReason(const QString& path);
// The same test for the item name in an open folder (the name is not followed).
QString SystemItemReason(int folderFd, const QByteArray& name);

bool IsSystemItem(const QString& path);

// Only the place test on the text: true when the cleaned absolute path is the root, the
// home folder or a folder that holds it, or inside one of the operating system's folders.
bool IsSystemPlace(const QString& absolutePath);

// True when the path is the user's applications menu folder (the "Start Menu" of the
// registry routines, $XDG_DATA_HOME/applications), also when written with a trailing
// slash or "." segments; letter case counts. What lies inside the folder is not.
bool IsStartMenuFolder(const QString& path);
