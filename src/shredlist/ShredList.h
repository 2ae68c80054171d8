#pragma once

#include "shredlist/ImageList.h"
#include "shredlist/PathTable.h"

#include <QString>

class LstArray;
class ShredListWindow;

// The queue of files and folders the next run destroys: the view LstArray, its two image
// lists and the path table of the duplicate test. The main window owns one, with the
// view as one of its controls.
//
// A run consumes the view from the top (LstArray::Count, Text, SubItem, Checked,
// RemoveItem) and calls SetScroll and FixDups when it ends; until then ItemCount and
// FileArray still describe the list as it was before the run.
//
// Everything runs on the user interface thread. Adding yields to the event loop, so a
// drop or a relay hand-over may add more paths in the middle of an addition.
class ShredList
{
public:
    ShredList(ShredListWindow& window, LstArray& list);

    // One path from a drop, the file manager's menu or the command line, already screened
    // against the 'Do Not Shred' list. System items and the applications menu folder are
    // refused silently; otherwise the window is shown and the path added.
    void AddPathFromShell(const QString& path);
    // Adds the path unless it is queued already.
    void AddtoArray(const QString& path);
    bool CheckDup(const QString& path) const;
    // The view's item for a path just stored in the table, with its picture and the
    // count captions.
    void BuildEditList(const QString& path);

    // ItemCount and FileArray := the items left in the view.
    void FixDups();
    // Empties the view, its image lists and the table; with hideWindow the window is
    // hidden first. The count captions are left as they are.
    void ClearAll(bool hideWindow);
    // Keeps only the unchecked items, as bare unchecked items, and rebuilds the table from
    // them.
    void ClearCheckedItems();

    // The count captions for ItemCount.
    void SetCountCaptions();
    // Sizes the view to its rows and resets the scroller; nothing happens on an empty list.
    void SetScroll();
    // myscroller's change: moves the view for the scroller's maximum and value.
    void ScrollList(int scrollerMax, int scrollerValue);

    qint16 ItemCount() const { return m_table.ItemCount(); }
    const QStringList& FileArray() const { return m_table.FileArray(); }
    const ImageList& ilsIcons32() const { return m_ilsIcons32; }
    const ImageList& ilsIcons16() const { return m_ilsIcons16; }
    LstArray& list() { return m_list; }

private:
    int iconIndexFor(const QString& path, const QString& key);

    ShredListWindow& m_window;
    LstArray& m_list;
    PathTable m_table;
    ImageList m_ilsIcons32;
    ImageList m_ilsIcons16;
};
