#include "modGeneral.h"

#include "common/SharedState.h"
#include "engine/modShred.h"
#include "shredlist/frmMainCode.h"
#include "skin/modSkinForm.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

namespace {
void DoEvents()
{
    QCoreApplication::processEvents();
}

// The local paths a drop carries, in its order. A folder's trailing slash goes, so the item is
// named after the folder.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        files.append(path);
    }
    return files;
}
} // namespace

void DropOnMe(frmMainCode& window, const QMimeData* data)
{
    SharedState& state = Shared();
    state.SafeItemsRemoved = false;
    // Read before the first yield: the drop's data lives only as long as its event.
    for (const QString& file : DroppedFiles(data)) {
        if (IsSafeLocation(file))
            state.SafeItemsRemoved = true;
        else
            window.shredList().AddPathFromShell(file);
    }
    DoEvents();
    if (state.PromptSafeFiles == 1 && state.SafeItemsRemoved &&
        DoNotShredWarningSequence(&window, DoNotShredMoment::Add))
        return;
    if (window.shredList().ItemCount() > 0) {
        window.shredList().SetScroll();
        MakeTopMost(&window);
        RunNowQuery(window);
    }
}

void RunNowQuery(ShredRunWindow& window)
{
    if (Shared().ShredNow)
        StartShred(window);
}

void OpenOptionsWindow(QWidget* mainWindow)
{
    DoEvents();
    MakeNormal(mainWindow);
    // The options window takes its place here, shown modally over the main window.
    MakeTopMost(mainWindow);
}
