#include "SliderGeometry.h"

#include "SkinGeometry.h"

int SliderGeometry::AcrossOffset(int orientation, int railStyle, const QSize& railPicture, const QSize& thumb)
{
    if (railStyle != 99)
        return 0;
    if (orientation == 0)
        return railPicture.height() > thumb.height() ? (railPicture.height() - thumb.height()) / 2 : 0;
    return railPicture.width() > thumb.width() ? (railPicture.width() - thumb.width()) / 2 : 0;
}

int SliderGeometry::ThumbAlong(int orientation, double value, double min, double range, int length,
                               int thumbLength)
{
    const double travel = length - thumbLength;
    const double p = range != 0 ? (value - min) / range : 0;
    return RoundHalfEven(orientation == 0 ? travel * p : travel - travel * p);
}

int SliderGeometry::ClampThumb(int pointer, int grab, int length, int thumbLength)
{
    const int at = pointer - grab;
    if (at < 0)
        return 0;
    return at <= length - thumbLength ? at : length - thumbLength;
}

qint32 SliderGeometry::ValueFromThumb(int orientation, int thumb, int length, int thumbLength, qint32 min,
                                      qint32 range)
{
    const double travel = length - thumbLength;
    if (travel <= 0)
        return min;
    const double along = orientation == 0 ? thumb : travel - thumb;
    return RoundHalfEven(along / travel * range + min);
}

SliderGeometry::Rail SliderGeometry::RailRect(int orientation, const QSize& control, const QSize& thumb)
{
    const int w = thumb.width();
    const int h = thumb.height();
    if (orientation == 0) {
        const int middle = RoundHalfEven(h / 2.0);
        const int left = RoundHalfEven(w / 2.0);
        return {left, middle, RoundHalfEven(left + control.width() - w), middle};
    }
    const int middle = RoundHalfEven(w / 2.0);
    const int top = RoundHalfEven(h / 2.0);
    return {middle, top, middle, RoundHalfEven(control.height() + top - h)};
}

int SliderGeometry::EdgeForRailStyle(int railStyle)
{
    switch (railStyle) {
    case 0:
        return 10; // sunken outer and inner
    case 1:
        return 5; // raised outer and inner
    case 2:
        return 2; // sunken outer
    case 3:
        return 4; // raised inner
    case 4:
        return 0;
    default:
        return -1;
    }
}

QPoint SliderGeometry::ValueTipPosition(int orientation, const QRect& control, const QPoint& thumb,
                                        const QSize& thumbSize, const QSize& label)
{
    if (orientation == 0)
        return {RoundHalfEven(control.left() + thumb.x() + (thumbSize.width() - label.width() - 4) / 2.0),
                RoundHalfEven(control.top() + thumb.y() - label.height() - 5)};
    return {RoundHalfEven(control.left() + thumb.x() - label.width() - 6),
            RoundHalfEven(control.top() + thumb.y() + (thumbSize.height() - label.height() - 4) / 2.0)};
}

QSize SliderGeometry::ValueTipSize(const QSize& label)
{
    return {label.width() + 4, label.height() + 3};
}
