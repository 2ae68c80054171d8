#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The desktop's picture and type name for a file or folder: the icon theme through Qt's
// file icon provider, and the shared MIME database's comment for the type.

// Size 2 asks for the large picture (32 pixels), any other size for the small one (16).
inline constexpr int LargeIconSize = 2;
inline constexpr int LargeIconPixels = 32;
inline constexpr int SmallIconPixels = 16;

QPixmap GetIcon(const QString& path, int size);

// The type's human-readable name ("plain text document", "folder"); empty when the MIME
// database has no comment for it.
QString GetFileTypeName(const QString& path);

// The icon drawn at the given size; a theme without the icon gives the style's own file
// or folder picture instead, so no list item is ever without one.
QPixmap IconToPicture(const QIcon& icon, int pixels, bool isFolder);
