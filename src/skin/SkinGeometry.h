#pragma once

#include <QList>
#include <QPoint>
#include <QRegion>
#include <QString>

// The arithmetic of the skinned frame, kept free of widgets so that every bound and
// position can be checked without a display. Pixel positions are what the painter draws
// at; twips (1/1440 inch) are what windows and controls are measured in.

// Rounds to the nearest integer, a half to the even neighbour (2.5 -> 2, 3.5 -> 4): the
// rounding the frame's loop bounds and the controls' value arithmetic have always used.
int RoundHalfEven(double value);

// Twips per pixel for a screen of the given logical dots per inch, rounded: 15 at 96 DPI.
int TwipsPerPixel(double logicalDpi);

// The last index of a tile loop "for i = 0 to round(length / tile)": inclusive, so a
// length of 95 with 19-pixel tiles draws indices 0 to 5 and the last one lies outside.
int TileBound(int length, int tile);

// The window's outline: a rounded rectangle from (0, 0) to (width, height) whose corners
// follow an ellipse of 14 x 14 pixels.
QRegion RoundRectRegion(int width, int height);

// One step of painting a skinned window, in the order the painter carries them out.
struct SkinOp
{
    enum class Kind
    {
        MakeTopMost,  // put the window into the always-on-top band
        SetIcon,      // name: the image to show in the window's ImgIcon
        PlaceControl, // name: a control of the window; pos: its new left and top
        BackColor,    // fill the surface with the frame's background colour
        DrawImage,    // name: a skin image; pos: where its top-left corner goes
        Transparency, // give the window its rounded outline
    };
    Kind kind;
    QString name;
    QPoint pos;

    friend bool operator==(const SkinOp&, const SkinOp&) = default;
};

// What the painter needs to know about the window it paints. Sizes are in pixels.
struct SkinWindow
{
    int width = 0;  // W: the window's width in twips / TwipsX
    int height = 0; // H: the window's height in twips / TwipsY
    int twipsX = 15;
    int twipsY = 15;
    QString name;                                   // the window's name, e.g. "frmMainCode"
    QString listState = QStringLiteral("hidelist"); // the main window's layout
    int iconKind = 0; // <= 0 leaves the icon alone; 1..4 dialog icons; >= 5 the application icon
    // The main window's header layout reads two of its controls.
    int btnShredWidth = 0;
    int lblshredTop = 0;
};

// The name of the image that an icon kind puts into the window's ImgIcon (empty for 0 or less).
QString IconImageForKind(int iconKind);

// Every drawing and placing step of painting the window, in order.
QList<SkinOp> MakeWindowOps(const SkinWindow& window);
