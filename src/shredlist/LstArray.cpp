#include "LstArray.h"

#include "shredlist/ImageList.h"

namespace {
constexpr int IconIndexRole = Qt::UserRole + 1;
}

LstArray::LstArray(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("LstArray"));
    setColumnCount(3);
    setColumnHidden(1, true);
    setColumnHidden(2, true);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(16, 16));
}

void LstArray::AddItem(const QString& text, int icon, const QString& key, const QString& name)
{
    auto* item = new QTreeWidgetItem(QStringList{text, key, name});
    item->setData(0, IconIndexRole, icon);
    item->setIcon(0, iconAt(icon));
    item->setCheckState(0, Qt::Checked);
    addTopLevelItem(item);
}

void LstArray::AddBareItem(const QString& text)
{
    auto* item = new QTreeWidgetItem(QStringList{text, QString(), QString()});
    item->setCheckState(0, Qt::Unchecked);
    addTopLevelItem(item);
}

void LstArray::RemoveItem(int index)
{
    delete takeTopLevelItem(index);
}

void LstArray::ClearItems()
{
    clear();
}

void LstArray::SetChecked(int index, bool checked)
{
    topLevelItem(index)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int LstArray::IconIndex(int index) const
{
    const QVariant icon = topLevelItem(index)->data(0, IconIndexRole);
    return icon.isValid() ? icon.toInt() : -1;
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
