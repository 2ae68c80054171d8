#include "ListItems.h"

#include "platform/PathBytes.h"

int ListItems::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant ListItems::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return QVariant();
    const ListItem& item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return PathBytes::readable(item.Text);
    case Qt::DecorationRole:
        return item.Picture.isNull() ? QVariant() : QVariant(item.Picture);
    case Qt::CheckStateRole:
        return item.Checked ? Qt::Checked : Qt::Unchecked;
    default:
        return QVariant();
    }
}

bool ListItems::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ListItems::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

void ListItems::append(const ListItem& item)
{
    beginInsertRows(QModelIndex(), int(m_items.size()), int(m_items.size()));
    m_items.append(item);
    endInsertRows();
}

void ListItems::removeAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void ListItems::setChecked(int row, bool checked)
{
    m_items[row].Checked = checked;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ListItems::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}
