#pragma once

#include <QColor>
#include <QPalette>

// Colours are stored the way the program has always stored them: 0x00BBGGRR, or, with the
// top bit set, the number of a system colour (0x8000000F button face, 0x80000012 button
// text, 0x80000015 3-D dark shadow, 0x80000016 3-D light), which maps onto the palette.
namespace SkinColor {
inline constexpr quint32 Background = 0x5A5A5A; // window background under the tiles
inline constexpr quint32 LinkHot = 0x80FFFF;    // link text with the pointer over it
inline constexpr quint32 LinkNormal = 0x80C0FF; // link text at rest
inline constexpr quint32 ButtonFace = 0x8000000F;
inline constexpr quint32 ButtonText = 0x80000012;
inline constexpr quint32 DarkShadow3D = 0x80000015;
inline constexpr quint32 Light3D = 0x80000016;
} // namespace SkinColor

QColor ColorFromValue(quint32 value, const QPalette& palette = QPalette());
