#include "CountCaptions.h"

namespace {
const QString CannotBeRecovered = QStringLiteral("\r\nShredded items cannot be recovered.");
}

CountCaptions CountCaptionsFor(int itemCount)
{
    const QString n = QString::number(itemCount);
    if (itemCount == 1)
        return {n + QStringLiteral(" item"),
                QStringLiteral("Are you sure you want to shred this item?") + CannotBeRecovered,
                QStringLiteral("Shred :") + n + QStringLiteral(" item")};
    const QString prompt = itemCount > 1 ? QStringLiteral("Are you sure you want to shred these ") + n +
                                               QStringLiteral(" Items?") + CannotBeRecovered
                                         : QStringLiteral("No items selected");
    return {n + QStringLiteral(" items"), prompt, QStringLiteral("Shred :") + n + QStringLiteral(" items")};
}
