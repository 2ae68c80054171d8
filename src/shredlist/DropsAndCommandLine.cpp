#include "frmMainCode.h"

#include "MainWindowLayout.h"
#include "common/SharedState.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/modDialog.h"
#include "engine/modShred.h"
#include "options/frmOptions.h"
#include "platform/CommandRelay.h"
#include "platform/Identity.h"
#include "platform/PathBytes.h"
#include "platform/SentinelSentence.h"
#include "platform/ShellMenu.h"
#include "shredlist/modGeneral.h"
#include "skin/modSkinForm.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QLoggingCategory>
#include <QMimeData>
#include <QUrl>

// How items reach the main window. Drops on its surface, and those that its list (through the
// event filter), its image buttons and its scroller pass on (wired in frmMainCode.cpp), go to
// DropOnMe, which screens them. The relay's hand-overs are a file manager's "Delete with
// Vanisto" (screened too), the paths of a later launch (added unscreened) or the sentence of a
// launch without paths.

Q_LOGGING_CATEGORY(lcMain, "vanisto.main", QtWarningMsg)

using namespace MainWindowLayout;

// ---------------------------------------------------------------------------------------------
// Screening

namespace {
void DoEvents()
{
    QCoreApplication::processEvents();
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

// Files dropped on the main window: each one outside the 'Do Not Shred' folders goes to the
// Shred List, the others are skipped and reported once by the warning sequence. Only the
// drop's local files count.
void DropOnMe(frmMainCode& window, const QMimeData* data)
{
    // Read before the first yield: the drop's data lives only as long as its event.
    AddScreened(window, DroppedFiles(data));
}

// Paths chosen in a file manager's "Delete with Vanisto", screened as a drop is: each one
// outside the 'Do Not Shred' folders joins the Shred List, the others are reported once.
void ContextMenu_Click(frmMainCode& window, const QStringList& selection)
{
    AddScreened(window, selection);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Drops

void frmMainCode::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMainCode::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMainCode::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    Drop(event->mimeData());
}

void frmMainCode::Drop(const QMimeData* data)
{
    DropOnMe(*this, data);
}

// ---------------------------------------------------------------------------------------------
// Command line

void frmMainCode::oCommandLine_Change()
{
    const QStringList arguments = m_oCommandLine->CommandLine();
    if (arguments.isEmpty())
        return;
    if (arguments == QStringList{SentinelSentence}) {
        qCInfo(lcMain).noquote() << "sentinel received";
        AnswerSentinel();
        return;
    }
    // A file manager's "Delete with Vanisto": screened as it is added, like a drop.
    if (arguments.first() == ShellMenu::ClickMarker) {
        const QStringList selection = arguments.mid(1);
        for (const QString& path : selection)
            qCInfo(lcMain).noquote() << "selected:" << path;
        ContextMenu_Click(*this, selection);
        ReportListed();
        return;
    }
    // Each argument is one path, in order, every byte of it as the launch received it.
    for (const QString& path : arguments) {
        qCInfo(lcMain).noquote() << "path received:" << path;
        m_shredList.AddPathFromShell(path);
        yield();
    }
    m_shredList.SetScroll();
    ReportListed();
    MakeTopMost(this);
    RunNowQuery(*this);
}

void frmMainCode::ReportListed() const
{
    if (lcMain().isInfoEnabled())
        for (int i = 0; i < ListCount(); ++i)
            qCInfo(lcMain).noquote() << "listed:" << ListText(i);
}

// A launch without paths: the first one ever asks whether to run the tutorial (No opens the
// options instead); every later one opens the options window beside the main window.
void frmMainCode::AnswerSentinel()
{
    SharedState& state = Shared();
    if (!state.FirstStartEver) {
        yield();
        ShowOptionsWindow(this);
        return;
    }
    state.FirstStartEver = false;
    yield();
    const QString product = QLatin1String(Identity::ProductName);
    const bool tutorial =
        ShowDialog(
            this,
            QStringLiteral("This appears to be the first time you have run %1 %2.%3. Would you like to run "
                           "the tutorial?")
                .arg(product)
                .arg(Identity::VersionMajor)
                .arg(Identity::VersionMinor),
            QStringLiteral("Welcome to ") + product, false, DialogButtons::YesNo, DialogIcon::Question, true)
            .toString() == QStringLiteral("2");
    MakeNormal(this);
    if (tutorial)
        OpenTutorialWindow(this);
    else
        OpenOptionsWindow(this);
    MakeTopMost(this);
}
