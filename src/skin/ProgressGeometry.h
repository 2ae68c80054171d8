#pragma once

#include <QRect>
#include <QString>

// The arithmetic of the picture progress bar, free of widgets.
namespace ProgressGeometry {
// The part of the bar picture that is shown (and where it goes: the same rectangle), for a
// surface of width x height pixels. Orientation 0 fills from the left, 1 from the bottom;
// any other orientation shows nothing. Returns false when the value is too far from Min
// for the arithmetic (an overflow): nothing may be drawn then.
bool FilledRect(qint32 value, qint32 min, qint32 range, int orientation, int width, int height,
                QRect* filled);

// The caption for a caption format: 1 the value, 2..4 Value / range and 5..7
// (Value - Min) / range as percentages with 0, 1 and 2 decimals, 99 the custom text,
// anything else nothing.
QString CaptionText(int format, qint32 value, qint32 min, qint32 range, const QString& custom);

// Where a caption of textWidth x lineHeight pixels starts so that it is centred.
QPoint CaptionPosition(int width, int height, int textWidth, int lineHeight);
} // namespace ProgressGeometry
