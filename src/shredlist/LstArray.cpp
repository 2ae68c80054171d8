#include "LstArray.h"

#include "shredlist/FileIcons.h"
#include "shredlist/ImageList.h"
#include "skin/CheckList.h"

LstArray::LstArray(QWidget* parent) : QListView(parent)
{
    CheckList::Enable(this);
    setObjectName(QStringLiteral("LstArray"));
    setModel(&m_items);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(SmallIconPixels, SmallIconPixels));
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(RepaintInterval);
    connect(&m_repaint, &QTimer::timeout, this, &LstArray::endBurst);
}

void LstArray::AddItem(const QString& text, int icon, const QString& key, const QString& name)
{
    append({text, key, name, true, icon, iconAt(icon)});
}

void LstArray::AddBareItem(const QString& text)
{
    append({text, QString(), QString(), false, -1, QIcon()});
}

// A row starts a burst unless one is running; the burst's rows show together when it
// ends, at most RepaintInterval after its first, which no one notices for a single file.
void LstArray::append(const ListItem& item)
{
    m_items.append(item);
    if (!m_repaint.isActive()) {
        viewport()->setUpdatesEnabled(false);
        m_repaint.start();
    }
}

// Inside a burst the view lays all its rows out again only when the burst's repaint is
// due; rows are only ever appended, so the rows already laid out stay where they are.
void LstArray::rowsInserted(const QModelIndex& parent, int start, int end)
{
    if (!m_repaint.isActive()) {
        QListView::rowsInserted(parent, start, end);
        return;
    }
    m_layoutPending = true;
    QAbstractItemView::rowsInserted(parent, start, end);
}

void LstArray::endBurst()
{
    if (m_layoutPending) {
        m_layoutPending = false;
        doItemsLayout();
    }
    viewport()->setUpdatesEnabled(true);
}

void LstArray::RemoveItem(int index)
{
    m_items.removeAt(index);
}

void LstArray::ClearItems()
{
    m_items.clear();
}

QString LstArray::SubItem(int index, int column) const
{
    const ListItem& item = m_items.at(index);
    return column == 1 ? item.SubItem1 : column == 2 ? item.SubItem2 : QString();
}

int LstArray::ItemHeight() const
{
    return sizeHintForRow(0);
}

void LstArray::BindImageLists(const ImageList* large, const ImageList* small)
{
    m_large = large;
    m_small = small;
}

void LstArray::UnbindImageLists()
{
    m_large = nullptr;
    m_small = nullptr;
    m_icons.clear();
}

QIcon LstArray::iconAt(int index)
{
    if (!ImageListsBound() || index < 0 || index >= m_large->Count() || index >= m_small->Count())
        return QIcon();
    while (m_icons.size() <= index) {
        const int next = int(m_icons.size());
        QIcon icon(m_small->Picture(next));
        icon.addPixmap(m_large->Picture(next));
        m_icons.append(icon);
    }
    return m_icons.at(index);
}
