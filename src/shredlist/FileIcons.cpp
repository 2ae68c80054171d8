#include "FileIcons.h"

#include "platform/ItemStat.h"
#include "platform/PathBytes.h"

#include <QApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QStyle>

namespace {
const QString FolderType = QStringLiteral("inode/directory");

const QMimeDatabase& Database()
{
    static const QMimeDatabase database;
    return database;
}

QMimeType TypeOfContent(const QString& path)
{
    // Without waiting: a FIFO swapped in after the test must not hold the window.
    const FileDescriptor fd = OpenItem(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
    QFile file;
    if (fd.isValid() && file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return Database().mimeTypeForFileNameAndData(PathBytes::readable(path), &file);
    return Database().mimeTypeForFile(PathBytes::readable(path), QMimeDatabase::MatchExtension);
}

// QFileInfo and QMimeDatabase::mimeTypeForFile would reach the item through QFile::encodeName,
// which names another file when the name is not UTF-8; the item is read by its own bytes instead.
// Links are followed, as a file manager shows them.
QMimeType TypeOf(const QString& path)
{
    struct stat info
    {
    };
    const bool found = StatItem(path, &info, 0);
    if (found && S_ISDIR(info.st_mode))
        return Database().mimeTypeForName(FolderType);
    if (found && S_ISREG(info.st_mode))
        return TypeOfContent(path);
    // Gone, or a pipe or device behind a link: opening that could block or disturb it.
    return Database().mimeTypeForFile(PathBytes::readable(path), QMimeDatabase::MatchExtension);
}
} // namespace

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
    const QMimeType type = TypeOf(path);
    const bool isFolder = type.name() == FolderType;
    const QIcon icon = isFolder ? provider.icon(QAbstractFileIconProvider::Folder)
                                : QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    const int pixels = size == LargeIconSize ? LargeIconPixels : SmallIconPixels;
    return IconToPicture(icon, pixels, isFolder);
}

QString GetFileTypeName(const QString& path)
{
    return TypeOf(path).comment();
}
