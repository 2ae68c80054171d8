#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QList>

// One queued path of the Shred List.
struct ListItem
{
    QString Text;     // the full path, exact (PathBytes); shown through PathBytes::readable
    QString SubItem1; // the icon key, "DIR" for a folder
    QString SubItem2; // the name as shown
    bool Checked = false;
    int Icon = -1; // index in the image lists, -1 for none
    QIcon Picture;
};

// The rows behind LstArray: the path, shown readable as the text and tool tip, the picture, and a
// check box the user may clear. Kept small and flat so that long lists stay cheap.
class ListItems : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const ListItem& at(int row) const { return m_items.at(row); }
    void append(const ListItem& item);
    void removeAt(int row);
    void setChecked(int row, bool checked);
    void clear();

private:
    QList<ListItem> m_items;
};
