#include "ListScroll.h"

#include <cmath>

int ScrollerMaximum(int itemCount, int visibleRows)
{
    return itemCount > visibleRows ? (itemCount - visibleRows) * 100 : 100;
}

bool ScrollerMovesList(int itemCount, int visibleRows)
{
    return itemCount > visibleRows + 1;
}

int ListTop(int scrollerMax, int scrollerValue, int rowHeight)
{
    const double rowsAbove = scrollerMax / 100.0 - std::floor(scrollerValue / 100.0);
    return -int(std::floor(rowsAbove * rowHeight));
}
