#pragma once

#include <Qt>

// The mouse event arguments the windows' handlers receive: Button 1 left, 2 right,
// 4 middle (a set of them while moving); Shift 1 Shift, 2 Ctrl, 4 Alt.
namespace MouseArgs {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;

int Button(Qt::MouseButtons buttons);
int Shift(Qt::KeyboardModifiers modifiers);
} // namespace MouseArgs
