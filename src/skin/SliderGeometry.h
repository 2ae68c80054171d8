#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The arithmetic of the picture slider and its value tip, free of widgets. W and H are
// the control's size, w and h the thumb's, all in pixels. Orientation 0 is horizontal
// (Min at the left), 1 vertical (Min at the bottom, Max at the top).
namespace SliderGeometry {
// The thumb's offset across the rail: the thumb is centred on a rail picture taller
// (horizontal) or wider (vertical) than itself, else it sits at 0.
int AcrossOffset(int orientation, int railStyle, const QSize& railPicture, const QSize& thumb);

// Where the thumb's leading edge (left, or top when vertical) stands for a value.
int ThumbAlong(int orientation, double value, double min, double range, int length, int thumbLength);

// The thumb's leading edge for a pointer at `pointer` grabbed at `grab` inside the thumb,
// kept on the rail.
int ClampThumb(int pointer, int grab, int length, int thumbLength);

// The value a thumb at `thumb` stands for, rounded to a whole value (halves to even).
qint32 ValueFromThumb(int orientation, int thumb, int length, int thumbLength, qint32 min, qint32 range);

// The drawn rail's rectangle as (left, top, right, bottom): a line through the middle of
// the thumb's path, half a thumb in from each end.
struct Rail
{
    int left, top, right, bottom;
    friend bool operator==(const Rail&, const Rail&) = default;
};
Rail RailRect(int orientation, const QSize& control, const QSize& thumb);

// The edge drawn around the rail for a rail style 0..4, or -1 for a style without one.
int EdgeForRailStyle(int railStyle);

// Where the value tip window goes: beside the thumb (above it when horizontal, left of it
// when vertical), centred on it. control is the control's rectangle on the screen, thumb the
// thumb's position in the control, label the size of the tip's text.
QPoint ValueTipPosition(int orientation, const QRect& control, const QPoint& thumb, const QSize& thumbSize,
                        const QSize& label);
// The tip window around a label of that size.
QSize ValueTipSize(const QSize& label);
} // namespace SliderGeometry
