#pragma once

// The program's lists (the Shred List, the 'Do Not Shred' list) are as tall as their content
// and a vertical ctlSlider moves them inside a frame that shows visibleRows rows: each 100
// scroller units are one row, and the scroller at its maximum shows the first row.

// The scroller's maximum for a list of itemCount rows (its minimum is 0).
int ScrollerMaximum(int itemCount, int visibleRows);

// Whether moving the scroller moves a list of itemCount rows at all: with one row more than
// the frame shows, the scroller has a range of one step, which still shows the first row.
bool ScrollerMovesList(int itemCount, int visibleRows);

// The list's top, in pixels, for the scroller's maximum and value.
int ListTop(int scrollerMax, int scrollerValue, int rowHeight);
