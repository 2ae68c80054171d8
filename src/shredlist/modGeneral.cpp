#include "modGeneral.h"

#include "common/Settings.h"
#include "common/SharedState.h"
#include "dialogs/modDialog.h"
#include "engine/modShred.h"
#include "options/frmOptions.h"
#include "platform/PathBytes.h"
#include "shredlist/frmMainCode.h"
#include "skin/modSkinForm.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

namespace {
const QString Separator = QStringLiteral("\r\n\r\n");

void DoEvents()
{
    QCoreApplication::processEvents();
}

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

// QUrl::toLocalFile decodes the path as UTF-8 and replaces every other byte, so a name that is not
// UTF-8 would come out as another file's; the percent-encoded form still holds the bytes.
QString LocalPath(const QUrl& url)
{
    return PathBytes::decode(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

// A file URL that names another machine ("file://server/x") is not on this one: "//server/x"
// would be taken for the local "/server/x".
bool IsOnThisMachine(const QUrl& url)
{
    return url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

// The local paths a drop carries, in its order. A folder's trailing slash goes, so the item is
// named after the folder.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!IsOnThisMachine(url))
            continue;
        QString path = LocalPath(url);
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        files.append(path);
    }
    return files;
}

// The screening of a drop and of a file manager's selection: protected paths are left out and
// reported once, the others join the list, and the question (or Instant Shred) follows.
void AddScreened(frmMainCode& window, const QStringList& paths)
{
    SharedState& state = Shared();
    state.SafeItemsRemoved = false;
    for (const QString& path : paths) {
        if (IsSafeLocation(path))
            state.SafeItemsRemoved = true;
        else
            window.shredList().AddPathFromShell(path);
        DoEvents();
    }
    if (state.PromptSafeFiles == 1 && state.SafeItemsRemoved &&
        DoNotShredWarningSequence(&window, DoNotShredMoment::Add))
        return;
    if (window.shredList().ItemCount() > 0) {
        window.shredList().SetScroll();
        MakeTopMost(&window);
        RunNowQuery(window);
    }
}
} // namespace

void DropOnMe(frmMainCode& window, const QMimeData* data)
{
    // Read before the first yield: the drop's data lives only as long as its event.
    AddScreened(window, DroppedFiles(data));
}

void ContextMenu_Click(frmMainCode& window, const QStringList& selection)
{
    AddScreened(window, selection);
}

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
