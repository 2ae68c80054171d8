#include "modGeneral.h"

#include "common/Settings.h"
#include "common/SharedState.h"
#include "dialogs/modDialog.h"
#include "engine/modShred.h"
#include "options/frmOptions.h"

namespace {
const QString Separator = QStringLiteral("\r\n\r\n");

bool IsYes(const QVariant& answer)
{
    return answer.toString() == QStringLiteral("2");
}

// The questions of the 'Do Not Shred' warning: Yes and No, the question icon, no close button.
bool AskWarningQuestion(QWidget* owner, const QString& message, const QString& title)
{
    return IsYes(ShowDialog(owner, message, title, false, DialogButtons::YesNo, DialogIcon::Question, false));
}

QString WarningText(DoNotShredMoment moment)
{
    const QString attempted =
        QStringLiteral("You attempted to shred items from a 'Do Not Shred' folder location. ");
    return moment == DoNotShredMoment::Add
               ? attempted +
                     QStringLiteral("These items will NOT be shredded and were not added to the Shred List.")
               : attempted +
                     QStringLiteral("These items were NOT shredded and have been removed from the list.");
}
} // namespace

void RunNowQuery(ShredRunWindow& window)
{
    if (Shared().ShredNow)
        StartShred(window);
}

bool DoNotShredWarningSequence(QWidget* owner, DoNotShredMoment moment)
{
    const bool modify = AskWarningQuestion(
        owner,
        WarningText(moment) + Separator +
            QStringLiteral("Would you like to modify your 'Do Not Shred' folder locations?"),
        QStringLiteral("Modify the 'Do Not Shred' List?"));
    SharedState& state = Shared();
    if (state.PromptSafeFilesQuestion) {
        const bool again =
            AskWarningQuestion(owner, QStringLiteral("Would you like to receive this warning in the future?"),
                               QStringLiteral("Prompt for 'Do Not Shred' Warning?"));
        // The flag in memory stays: a "0" counts from the next start.
        SaveNumberSetting(Setting::PromptSafeFiles, again ? 1 : 0);
        SaveBooleanSetting(Setting::PromptSafeFilesQuestion, false);
        state.PromptSafeFilesQuestion = false;
    }
    if (!modify)
        return false;
    OpenOptionsWindow(owner);
    return true;
}

void ShowLockedFilesWarning(QWidget* owner)
{
    ShowDialog(
        owner,
        QStringLiteral("Some files were locked or were in use by another application.") + Separator +
            QStringLiteral("These files WERE shredded and will be deleted after you reboot your computer.") +
            Separator +
            QStringLiteral("If these items were in a folder, the folder itself may not have been deleted."),
        QStringLiteral("Locked files warning"), false, DialogButtons::OK, DialogIcon::Exclamation, true);
}

void ShowCopyOnWriteWarning(QWidget* owner)
{
    ShowDialog(owner,
               QStringLiteral("Some files were on storage that writes every change to a new place (a "
                              "copy-on-write file system such as btrfs or zfs, or network storage).") +
                   Separator +
                   QStringLiteral("These files WERE deleted, but their old content may remain on the disk "
                                  "where no overwrite can reach it."),
               QStringLiteral("Content may remain"), false, DialogButtons::OK, DialogIcon::Exclamation, true);
}

bool AskYesNo(QWidget* owner, const QString& message, const QString& title)
{
    return IsYes(ShowDialog(owner, message, title, false, DialogButtons::YesNo, DialogIcon::Question, true));
}
