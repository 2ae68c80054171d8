#pragma once

// The Shred List is as tall as its content and the scroller moves it; each 100 scroller
// units are one row, and the scroller at its maximum shows the first row.

// Up to this many rows fit the window without scrolling.
inline constexpr int VisibleRows = 15;

// The scroller's maximum for a list of itemCount rows (its minimum is 0).
int ScrollerMaximum(int itemCount);

// Whether moving the scroller moves a list of itemCount rows at all.
bool ScrollerMovesList(int itemCount);

// The list's top, in pixels, for the scroller's maximum and value.
int ListTop(int scrollerMax, int scrollerValue, int rowHeight);
