#pragma once

class QAbstractItemView;

// The lists whose rows carry check boxes (the Shred List, the 'Do Not Shred' list): light text
// straight on the window's panel, the skin's check boxes, and rows that screen readers and
// automation see as list items named by their text, checkable, whose press action ticks or
// clears the box. (Qt's own rows would toggle the selection instead, which these lists do not
// use for anything.)
namespace CheckList {
// Makes `view` such a list; its model answers Qt::CheckStateRole and takes it in setData.
void Enable(QAbstractItemView* view);
} // namespace CheckList
