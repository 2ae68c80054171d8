#include "FileIcons.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

QPixmap IconToPicture(const QIcon& icon, int pixels, bool isFolder)
{
    QPixmap picture = icon.pixmap(pixels, pixels);
    if (!picture.isNull())
        return picture;
    const QIcon fallback =
        QApplication::style()->standardIcon(isFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    return fallback.pixmap(pixels, pixels);
}

QPixmap GetIcon(const QString& path, int size)
{
    static const QFileIconProvider provider;
    const QFileInfo info(path);
    const int pixels = size == LargeIconSize ? LargeIconPixels : SmallIconPixels;
    return IconToPicture(provider.icon(info), pixels, info.isDir() && !info.isSymLink());
}

QString GetFileTypeName(const QString& path)
{
    static const QMimeDatabase database;
    return database.mimeTypeForFile(QFileInfo(path)).comment();
}
