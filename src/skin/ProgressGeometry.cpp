#include "ProgressGeometry.h"

#include "SkinGeometry.h"

#include <cmath>
#include <limits>

namespace {
bool FitsShort(double value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

QString Percent(double ratio, int decimals)
{
    return QString::number(ratio * 100, 'f', decimals) + QLatin1Char('%');
}
} // namespace

bool ProgressGeometry::FilledRect(qint32 value, qint32 min, qint32 range, int orientation, int width,
                                  int height, QRect* filled)
{
    *filled = QRect();
    const qint64 pos = qint64(value) - min;
    if (pos < std::numeric_limits<qint32>::min() || pos > std::numeric_limits<qint32>::max() || range == 0)
        return false;
    if (orientation == 0) {
        const double w = std::nearbyint(double(pos) / range * width);
        if (!FitsShort(w))
            return false;
        *filled = QRect(0, 0, int(w), height);
    } else if (orientation == 1) {
        const double top = std::nearbyint(height - double(pos) / range * height);
        if (!FitsShort(top))
            return false;
        *filled = QRect(0, int(top), width, height - int(top));
    }
    return true;
}

QString ProgressGeometry::CaptionText(int format, qint32 value, qint32 min, qint32 range,
                                      const QString& custom)
{
    const double r = double(value) / range;
    const double p = (double(value) - min) / range;
    switch (format) {
    case 1:
        return QString::number(value);
    case 2:
    case 3:
    case 4:
        return Percent(r, format - 2);
    case 5:
    case 6:
    case 7:
        return Percent(p, format - 5);
    case 99:
        return custom;
    default:
        return {};
    }
}

QPoint ProgressGeometry::CaptionPosition(int width, int height, int textWidth, int lineHeight)
{
    return {RoundHalfEven(width - textWidth) / 2, RoundHalfEven(height - lineHeight) / 2};
}
