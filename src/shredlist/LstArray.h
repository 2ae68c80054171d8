#pragma once

#include "shredlist/ListItems.h"

#include <QIcon>
#include <QList>
#include <QListView>
#include <QTimer>

class ImageList;

// The Shred List's view: one row per queued path, in the order added, each with its
// picture and a check box (a cleared box keeps the item out of the next run). Rows are
// 0-based here. Text is the full path with every byte kept (PathBytes), SubItem 1 the icon key
// ("DIR" for a folder), SubItem 2 the name as shown.
//
// The view is as tall as its rows and has no scroll bars of its own: the main window's
// scroller moves it inside its frame. While paths pour in it lays its rows out and
// repaints at most every RepaintInterval, so a drop of thousands of files is not held up
// by work that grows with the list for every one of them.
class LstArray : public QListView
{
    Q_OBJECT
public:
    static constexpr int RepaintInterval = 100; // milliseconds

    explicit LstArray(QWidget* parent = nullptr);

    int Count() const { return m_items.rowCount(); }

    // A checked item showing the pictures at `icon` of the bound image lists.
    void AddItem(const QString& text, int icon, const QString& key, const QString& name);
    // An unchecked item with its path only: no picture, empty sub-items.
    void AddBareItem(const QString& text);
    void RemoveItem(int index);
    void ClearItems();

    QString Text(int index) const { return m_items.at(index).Text; }
    // column 1: the icon key; column 2: the name.
    QString SubItem(int index, int column) const;
    bool Checked(int index) const { return m_items.at(index).Checked; }
    void SetChecked(int index, bool checked) { m_items.setChecked(index, checked); }
    // The image lists' index of the item's pictures; -1 for a bare item.
    int IconIndex(int index) const { return m_items.at(index).Icon; }
    QIcon Icon(int index) const { return m_items.at(index).Picture; }

    // The height of one row in pixels; the list must have an item.
    int ItemHeight() const;

    // The large and small pictures of an index come from these lists. They must stay
    // bound while any item uses them, and be unbound before they are cleared.
    void BindImageLists(const ImageList* large, const ImageList* small);
    void UnbindImageLists();
    bool ImageListsBound() const { return m_large != nullptr; }

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    QIcon iconAt(int index);
    void endBurst();
    void append(const ListItem& item);

    ListItems m_items;
    const ImageList* m_large = nullptr;
    const ImageList* m_small = nullptr;
    // One icon per picture index, shared by every item that shows it.
    QList<QIcon> m_icons;
    QTimer m_repaint;
    bool m_layoutPending = false;
};
