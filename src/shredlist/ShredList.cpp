#include "ShredList.h"

#include "common/LogError.h"
#include "platform/ItemStat.h"
#include "platform/PathBytes.h"
#include "platform/SystemItems.h"
#include "shredlist/FileIcons.h"
#include "shredlist/IconKey.h"
#include "shredlist/LstArray.h"
#include "shredlist/ShredListWindow.h"
#include "skin/ListScroll.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
// Up to this many rows fit the main window's list frame without scrolling.
constexpr int VisibleRows = 15;

// Every addition gives the window its turn, but a burst of thousands need not ask the event
// loop thousands of times a second: a few milliseconds between two turns keep clicks, drops
// and hand-overs answered just as well.
constexpr qint64 YieldEveryNs = 4'000'000;

void DoEvents()
{
    static QElapsedTimer sinceLast;
    if (sinceLast.isValid() && sinceLast.nsecsElapsed() < YieldEveryNs)
        return;
    QCoreApplication::processEvents();
    sinceLast.start();
}

bool isFolder(const QString& path)
{
    struct stat item
    {
    };
    return StatItem(path, &item) && S_ISDIR(item.st_mode);
}

// The name is what the list and the run's captions show, so bytes that are not text show as U+FFFD.
QString shownNameOf(const QString& path)
{
    return PathBytes::readable(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}
} // namespace

ShredList::ShredList(ShredListWindow& window, LstArray& list) : m_window(window), m_list(list) {}

void ShredList::AddPathFromShell(const QString& path)
{
    if (IsSystemItem(path) || IsStartMenuFolder(path))
        return;
    m_window.ShowForm();
    DoEvents();
    AddtoArray(path);
    DoEvents();
}

void ShredList::AddtoArray(const QString& path)
{
    if (CheckDup(path))
        return;
    if (!m_table.Append(path)) {
        LogError(QStringLiteral("modGeneral"), QStringLiteral("AddtoArray"), ErrorNumber::Overflow,
                 QStringLiteral("Overflow"));
        return;
    }
    BuildEditList(path);
}

bool ShredList::CheckDup(const QString& path) const
{
    return m_table.CheckDup(path);
}

void ShredList::BuildEditList(const QString& path)
{
    const QString key = IconKey(path, isFolder(path));
    const int icon = iconIndexFor(path, key);
    // Always at the end: an addition that arrived during a yield may already be there.
    m_list.AddItem(path, icon, key, shownNameOf(path));
    SetCountCaptions();
    DoEvents();
}

// Both lists gain the key's pictures before the event loop runs again, so that an
// addition arriving in between cannot give the large and small lists different orders.
int ShredList::iconIndexFor(const QString& path, const QString& key)
{
    if (const int known = m_ilsIcons32.IndexOf(key); known >= 0)
        return known;
    const int index = m_ilsIcons32.Add(key, GetIcon(path, LargeIconSize));
    m_ilsIcons32.SetTag(index, GetFileTypeName(path));
    m_ilsIcons16.Add(key, GetIcon(path, 1));
    if (!m_list.ImageListsBound())
        m_list.BindImageLists(&m_ilsIcons32, &m_ilsIcons16);
    DoEvents();
    return index;
}

void ShredList::FixDups()
{
    QStringList paths;
    paths.reserve(m_list.Count());
    for (int i = 0; i < m_list.Count(); ++i)
        paths.append(m_list.Text(i));
    m_table.Rebuild(paths);
}

void ShredList::ClearAll(bool hideWindow)
{
    if (hideWindow)
        m_window.HideForm();
    m_list.ClearItems();
    m_list.UnbindImageLists();
    m_ilsIcons16.Clear();
    m_ilsIcons32.Clear();
    m_table.Clear();
}

void ShredList::ClearCheckedItems()
{
    QStringList unchecked;
    for (int i = 0; i < m_list.Count(); ++i)
        if (!m_list.Checked(i))
            unchecked.append(m_list.Text(i));
    m_list.ClearItems();
    for (const QString& path : std::as_const(unchecked))
        m_list.AddBareItem(path);
    m_table.Rebuild(unchecked);
}

void ShredList::SetCountCaptions()
{
    m_window.SetCountCaptions(CountCaptionsFor(ItemCount()));
}

void ShredList::SetScroll()
{
    const int count = m_list.Count();
    if (count == 0)
        return;
    m_list.resize(m_list.width(), m_list.ItemHeight() * count);
    m_window.SetScroller(0, ScrollerMaximum(count, VisibleRows), 0);
    m_list.move(m_list.x(), 0);
}

void ShredList::ScrollList(int scrollerMax, int scrollerValue)
{
    if (!ScrollerMovesList(m_list.Count(), VisibleRows))
        return;
    m_list.move(m_list.x(), ListTop(scrollerMax, scrollerValue, m_list.ItemHeight()));
}
