#pragma once

#include <QIcon>
#include <QList>
#include <QTreeWidget>

class ImageList;

// The Shred List's view: one row per queued path, in the order added, each with a check
// box (a cleared box keeps the item out of the next run). Rows are 0-based here.
//   Text       column 0, the full path, with the item's icon
//   SubItem 1  column 1, the icon key ("DIR" for a folder)
//   SubItem 2  column 2, the name
// The view is as tall as its rows and has no scroll bars of its own: the main window's
// scroller moves it inside its frame. It shows only the path; the key and name columns
// are there for the program.
class LstArray : public QTreeWidget
{
    Q_OBJECT
public:
    explicit LstArray(QWidget* parent = nullptr);

    int Count() const { return topLevelItemCount(); }

    // A checked item showing the picture at `icon` of the bound image lists.
    void AddItem(const QString& text, int icon, const QString& key, const QString& name);
    // An unchecked item with its path only: no picture, empty sub-items.
    void AddBareItem(const QString& text);
    void RemoveItem(int index);
    void ClearItems();

    QString Text(int index) const { return topLevelItem(index)->text(0); }
    QString SubItem(int index, int column) const { return topLevelItem(index)->text(column); }
    bool Checked(int index) const { return topLevelItem(index)->checkState(0) == Qt::Checked; }
    void SetChecked(int index, bool checked);
    // The image lists' index of the item's picture; -1 for a bare item.
    int IconIndex(int index) const;

    // The height of one row in pixels; the list must have an item.
    int ItemHeight() const;

    // The large and small pictures of an index come from these lists. They must stay
    // bound while any item uses them, and be unbound before they are cleared.
    void BindImageLists(const ImageList* large, const ImageList* small);
    void UnbindImageLists();
    bool ImageListsBound() const { return m_large != nullptr; }

private:
    QIcon iconAt(int index);

    const ImageList* m_large = nullptr;
    const ImageList* m_small = nullptr;
    // One icon per picture index, shared by every item that shows it.
    QList<QIcon> m_icons;
};
