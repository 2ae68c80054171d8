#include "IconKey.h"

#include <QStringList>

QString FileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot + 1);
}

QString IconKey(const QString& path, bool isFolder)
{
    if (isFolder)
        return FolderIconKey;
    static const QStringList ownIcons{QStringLiteral("EXE"), QStringLiteral("ICO"), QStringLiteral("DLL"),
                                      QStringLiteral("OCX"), QStringLiteral("LNK")};
    const QString extension = FileExtension(path).toUpper();
    return ownIcons.contains(extension) ? path.toUpper() : extension;
}
