#pragma once

#include "skin/modSkinForm.h"

#include <QCoreApplication>
#include <QPoint>
#include <QString>

// Where the options window's controls stand, shared by its two source files (the option rows
// in frmOptions.cpp, the 'Do Not Shred' editor in DoNotShredEditor.cpp). The window is designed
// in twips; at 96 DPI a pixel is 15 twips.
namespace OptionsLayout {
inline const QString WindowName = QStringLiteral("frmOptions");

inline constexpr int WindowWidth = 7530;
inline constexpr int WindowHeight = 6015;
// The option rows are laid out from the top of the panel under the title.
inline constexpr int RowsTop = 720;
inline constexpr int RowButtonLeft = 480;
inline constexpr int RowTops[] = {420, 1020, 1620, 2520}; // wipes, Instant Shred, method, 'Do Not Shred'
inline constexpr int NumOverLeft = 1140;
inline constexpr int NumOverTop = 585;
inline constexpr int NumOverWidth = 495;
inline constexpr int NumOverHeight = 230;
inline constexpr int TutorialLeft = 6000;
inline constexpr int TutorialTop = 600;
inline constexpr int LinksTop = 4200;
inline constexpr int LinkLefts[] = {1140, 2160, 3600, 5040};

// The 'Do Not Shred' list shows five rows; its scroller counts from the fourth, so that a
// fifth folder is seen without scrolling and the sixth is the first to move the list.
inline constexpr int SafeVisibleRows = 4;
inline constexpr int SafeRowHeight = 14; // pixels

// A control of the rows' area at its designed place, in pixels of the window.
inline QPoint RowPlace(int leftTwips, int topTwips)
{
    return QPoint(PixelsX(leftTwips), PixelsY(RowsTop + topTwips));
}

inline void DoEvents()
{
    QCoreApplication::processEvents();
}
} // namespace OptionsLayout
