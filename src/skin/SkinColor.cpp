#include "SkinColor.h"

QColor ColorFromValue(quint32 value, const QPalette& palette)
{
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 15:
            return palette.color(QPalette::Button);
        case 16:
            return palette.color(QPalette::Dark);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 20:
        case 22:
            return palette.color(QPalette::Light);
        case 21:
            return palette.color(QPalette::Shadow);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
