#include "ScrollArithmetic.h"

#include <cmath>

int ScrollerMaximum(int itemCount)
{
    return itemCount > VisibleRows ? (itemCount - VisibleRows) * 100 : 100;
}

bool ScrollerMovesList(int itemCount)
{
    // With 16 rows the scroller has a range of one step, which still shows the first row.
    return itemCount > VisibleRows + 1;
}

int ListTop(int scrollerMax, int scrollerValue, int rowHeight)
{
    const double rowsAbove = scrollerMax / 100.0 - std::floor(scrollerValue / 100.0);
    return -int(std::floor(rowsAbove * rowHeight));
}
