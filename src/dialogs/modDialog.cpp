#include "modDialog.h"

#include "frmDialog.h"
#include "modSys.h"
#include "skin/modSkinForm.h"

#include <QPointer>

QVariant ShowDialog(QWidget* owner, const QString& message, const QString& title, bool withInput,
                    qint32 buttons, qint32 iconKind, bool closeEnabled)
{
    if (owner)
        MakeNormal(owner); // so that the dialog can come above it
    QPointer<frmDialog> dialog = new frmDialog(owner);
    QObject::connect(dialog, &frmDialog::SystemInfoRequested, dialog, StartSysInfo);
    dialog->SetTexts(message, title, closeEnabled);
    dialog->SetButtons(withInput, buttons);
    dialog->LayOut();
    MakeWindow(dialog, iconKind);
    dialog->exec();
    delete dialog; // already gone when its owner was
    return DialogAnswer();
}

void StartSysInfo()
{
    if (!StartSysInfoTool())
        ShowDialog(DialogMainWindow(), QStringLiteral("System Information Is Unavailable At This Time."),
                   QStringLiteral("System Information"), false, DialogButtons::OK, 0, false);
}
