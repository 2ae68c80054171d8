#include "mBFF.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
QString& StartFolder()
{
    static QString folder;
    return folder;
}
} // namespace

void InitFolder(const QString& path)
{
    StartFolder() = path;
}

QString BrowseForFolder(QWidget* owner, const QString& prompt)
{
    const QString start = QFileInfo(StartFolder()).isDir() ? StartFolder() : QDir::homePath();
    return QFileDialog::getExistingDirectory(owner, prompt, start, QFileDialog::ShowDirsOnly);
}
