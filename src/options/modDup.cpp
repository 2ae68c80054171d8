#include "modDup.h"

#include "common/SharedState.h"

bool CheckDupFiles(const QString& path)
{
    return Shared().SafeFolders.contains(path, Qt::CaseSensitive);
}
