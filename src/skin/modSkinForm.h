#pragma once

#include <QList>

class QEvent;
class QString;
class QLabel;
class QScreen;
class QWidget;

// The skinned window frame and the small services a captionless window needs. Every window
// of the program is painted by MakeWindow when it loads and whenever its size or layout
// changes. Errors are logged under "modSkinForm:<procedure>" and end the procedure.

// Screen twips per pixel, horizontal and vertical (15 at 96 DPI); 0 until RefreshTwips or
// MakeWindow has run.
int TwipsX();
int TwipsY();
// Reads the factors from the screen (the primary screen when none is given).
void RefreshTwips(QScreen* screen = nullptr);
// Twips as pixels of that screen (15 twips a pixel until the factors are read).
int PixelsX(double twips);
int PixelsY(double twips);

// A borderless window without a task-bar button: what every skinned window starts as. On X11
// this creates the native window.
void SetSkinnedWindowFlags(QWidget* window);

// Paints the whole skin into the window's retained surface, places ImgIcon, btnClose and,
// on frmMainCode, the header controls. iconKind: 0 or less leaves the icon alone, 1
// information, 2 question, 3 exclamation, 4 critical, 5 or more the application icon.
void MakeWindow(QWidget* window, int iconKind);
// The rounded outline (corners on a 14 x 14 pixel ellipse).
void DoTransparency(QWidget* window);
// Lets the user move the window with the pointer until the button is released; nothing
// happens to a maximised window.
void DoDrag(QWidget* window);
// A label of a window's surface: plain white text of the given size whose mouse events go to
// `window`'s event filter, so that the window can drag from it and bring the arrow back.
QLabel* SurfaceLabel(QWidget* window, const QString& name, QWidget* parent, int pointSize, bool bold);
// A mouse event on the window's surface (its labels, icon and panels): a move brings the arrow
// back, a left press drags the window. True when the event was a press taken for the drag.
bool SurfaceMouseEvent(QWidget* window, const QEvent* event);
// In and out of the always-on-top band; a visible window stays visible.
void MakeTopMost(QWidget* window);
void MakeNormal(QWidget* window);
// Link colours: X and Y are the pointer's position in the label, in twips; the label's
// border counts as inside.
void LinkHover(QLabel* label, float X, float Y);
void LinkNormal(QLabel* label);
// The hand (true) or the arrow (false) over the program's windows, at once.
void SetHandCur(bool flag);
// The pointer over one link of a row of them: the hand, that link hot and the others plain.
template <typename Link> void HoverOneLink(const QList<Link*>& row, const Link* hovered)
{
    SetHandCur(true);
    for (Link* link : row) {
        if (link == hovered)
            LinkHover(link, 1, 1);
        else
            LinkNormal(link);
    }
}
