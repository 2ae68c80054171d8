#include "MouseArgs.h"

int MouseArgs::Button(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? Left : 0) | (buttons.testFlag(Qt::RightButton) ? Right : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? Middle : 0);
}

int MouseArgs::Shift(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
