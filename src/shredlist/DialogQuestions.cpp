#include "modGeneral.h"

bool DoNotShredWarningSequence(QWidget*, DoNotShredMoment)
{
    return false;
}

void ShowLockedFilesWarning(QWidget*) {}

bool AskYesNo(QWidget*, const QString&, const QString&)
{
    return false;
}
