#include "frmOptions.h"

#include "OptionsLayout.h"
#include "SafeFolderRules.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "dialogs/modDialog.h"
#include "mBFF.h"
#include "modDup.h"
#include "platform/AppFolder.h"
#include "skin/CheckList.h"
#include "skin/LinkLabel.h"
#include "skin/ListScroll.h"
#include "skin/MyTopButton.h"
#include "skin/ctlSlider.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"

#include <QFileInfo>
#include <QListWidget>

// The 'Do Not Shred' editor of the options window: the protected folders, each with a check
// box, a button that adds one through the folder chooser, and four links that tick, invert and
// clear them. Shared().SafeFolders and the setting "SafeFiles" follow every change at once.

using namespace OptionsLayout;

namespace {
const char* const LinkCaptions[] = {"Select All", "Invert Selection", "Clear Selected", "Clear All"};
} // namespace

// The 'Do Not Shred' list: as tall as its rows inside a frame that shows five of them, moved
// by its own scroller; the four selection links under it.
void frmOptions::BuildSafeList()
{
    const QPoint listPlace(PixelsX(NumOverLeft), m_btnSafeShred->geometry().bottom() + 4);
    m_framesafe = new QWidget(this);
    m_framesafe->setObjectName(QStringLiteral("framesafe"));
    m_framesafe->setGeometry(QRect(listPlace, QSize(362, SafeRowHeight * (SafeVisibleRows + 1))));
    m_LstSafeFiles = new QListWidget(m_framesafe);
    CheckList::Enable(m_LstSafeFiles);
    m_LstSafeFiles->setObjectName(QStringLiteral("LstSafeFiles"));
    m_LstSafeFiles->setAccessibleName(QStringLiteral("Do Not Shred Folder Locations"));
    m_LstSafeFiles->setGeometry(0, 0, m_framesafe->width(), m_framesafe->height());
    m_LstSafeFiles->setFrameShape(QFrame::NoFrame);
    m_LstSafeFiles->setUniformItemSizes(true);
    m_LstSafeFiles->setSelectionMode(QAbstractItemView::NoSelection);
    m_LstSafeFiles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_LstSafeFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont listFont = m_LstSafeFiles->font();
    listFont.setPointSize(8);
    m_LstSafeFiles->setFont(listFont);
    m_LstSafeFiles->viewport()->setMouseTracking(true);
    m_LstSafeFiles->viewport()->installEventFilter(this);

    m_myscroller2 = new ctlSlider(this);
    m_myscroller2->setObjectName(QStringLiteral("myscroller2"));
    m_myscroller2->setAccessibleName(QStringLiteral("Scroll the Do Not Shred list"));
    (void)m_myscroller2->SetSliderIcon(frmPics::Picture(QStringLiteral("imgSliderThumb")));
    m_myscroller2->SetBackColor(0x4A4A4A);
    m_myscroller2->setGeometry(m_framesafe->geometry().right() + 6, listPlace.y(), 13, m_framesafe->height());
    connect(m_myscroller2, &ctlSlider::ValueChanged, this, &frmOptions::myscroller2_ValueChanged);

    for (int i = 0; i < 4; ++i) {
        auto* link = new LinkLabel(QLatin1String(LinkCaptions[i]), this);
        link->setObjectName(QStringLiteral("Selection2_%1").arg(i));
        QFont font = link->font();
        font.setPointSize(8);
        link->setFont(font);
        link->adjustSize();
        link->move(RowPlace(LinkLefts[i], LinksTop));
        LinkNormal(link);
        connect(link, &LinkLabel::Click, this, [this, i] { Selection2_Click(i); });
        connect(link, &LinkLabel::MouseMove, this, [this, link] { HoverOneLink(m_Selection2, link); });
        m_Selection2.append(link);
    }
}

void frmOptions::LoadSafeFiles(const QString& stored)
{
    for (const QString& folder : SafeFolderRules::Load(stored)) {
        AddSafeItem(folder);
        Shared().SafeFolders.append(folder);
        DoEvents();
    }
    SetSafeScroll();
}

void frmOptions::btnSafeShred_MouseUp()
{
    InitFolder(AppFolder::path());
    const QString path = BrowseForFolder(this, QStringLiteral("Do Not Shred This Folder..."));
    if (path.isEmpty() || CheckDupFiles(path))
        return;
    // A name the file chooser could not give byte for byte comes back as a folder that does
    // not exist, and would protect nothing.
    const QString reason = QFileInfo(path).isDir() ? SafeFolderRules::RefusalReason(Shared(), path)
                                                   : QStringLiteral("The folder could not be found.");
    if (!reason.isEmpty()) {
        ShowDialog(this, path + QStringLiteral(" was not added to the 'Do Not Shred' list.\r\n\r\n") + reason,
                   QStringLiteral("Folder Not Added"), false, DialogButtons::OK, DialogIcon::Exclamation,
                   true);
        return;
    }
    SafeFolderRules::AddFolder(Shared(), path);
    AddSafeItem(path);
    DoEvents();
    SetSafeScroll();
}

void frmOptions::AddSafeItem(const QString& path)
{
    auto* item = new QListWidgetItem(path, m_LstSafeFiles);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setToolTip(path);
    item->setSizeHint(QSize(m_LstSafeFiles->width(), SafeRowHeight));
}

void frmOptions::Selection2_Click(int index)
{
    QListWidget& list = *m_LstSafeFiles;
    switch (index) {
    case 0:
        for (int i = 0; i < list.count(); ++i)
            list.item(i)->setCheckState(Qt::Checked);
        break;
    case 1:
        for (int i = 0; i < list.count(); ++i)
            list.item(i)->setCheckState(list.item(i)->checkState() == Qt::Checked ? Qt::Unchecked
                                                                                  : Qt::Checked);
        break;
    case 2: {
        if (list.count() == 0)
            break;
        if (!AskToClear(
                QStringLiteral("Are you sure you want to clear the selected folders from the 'Do Not "
                               "Shred' list?\r\n\r\nClearing the selected folders from the 'Do Not "
                               "Shred' List will permit shredding of items in the selected folders.")))
            return;
        QList<bool> ticked;
        for (int i = 0; i < list.count(); ++i)
            ticked.append(list.item(i)->checkState() == Qt::Checked);
        const QStringList kept = SafeFolderRules::ClearSelected(Shared(), ticked);
        list.clear();
        for (const QString& folder : kept)
            AddSafeItem(folder);
        break;
    }
    case 3:
        if (list.count() == 0)
            break;
        if (!AskToClear(
                QStringLiteral("Are you sure you want to clear the 'Do Not Shred' list?\r\n\r\nClearing "
                               "the 'Do Not Shred' List will permit shredding of items in ALL folders.")))
            return;
        list.clear();
        SafeFolderRules::ClearAll(Shared());
        break;
    default:
        return;
    }
    SetSafeScroll();
}

bool frmOptions::AskToClear(const QString& message)
{
    return ShowDialog(this, message, QStringLiteral("Clear the 'Do Not Shred' List?"), false,
                      DialogButtons::YesNo, DialogIcon::Question, false)
               .toString() == QStringLiteral("2");
}

// The list is as tall as its rows and starts at its top; the scroller counts whole rows.
void frmOptions::SetSafeScroll()
{
    const int count = m_LstSafeFiles->count();
    if (count < 1)
        return;
    m_LstSafeFiles->resize(m_LstSafeFiles->width(), SafeItemHeight() * count);
    const qint32 max = ScrollerMaximum(count, SafeVisibleRows);
    for (long error : {m_myscroller2->SetMin(0), m_myscroller2->SetMax(max), m_myscroller2->SetValue(0)})
        if (error != 0)
            LogError(WindowName, QStringLiteral("SetSafeScroll"), error,
                     QStringLiteral("Invalid property value"));
    m_LstSafeFiles->move(0, 0);
}

void frmOptions::myscroller2_ValueChanged()
{
    if (!ScrollerMovesList(m_LstSafeFiles->count(), SafeVisibleRows))
        return;
    m_LstSafeFiles->move(0, ListTop(m_myscroller2->Max(), m_myscroller2->Value(), SafeItemHeight()));
}

int frmOptions::SafeItemHeight() const
{
    return m_LstSafeFiles->visualItemRect(m_LstSafeFiles->item(0)).height();
}
