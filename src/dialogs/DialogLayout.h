#pragma once

#include <QList>
#include <QString>

// The message dialog's geometry, in twips (1/1440 inch) as the dialog was designed, kept
// free of widgets so that every placement can be checked without a display.
namespace DialogDesign {
inline constexpr int Width = 4785; // never changes: long messages make the dialog taller
inline constexpr int Icon = 200;   // left and top of the icon, where the painter puts it too
inline constexpr int TitleLeft = 960;
inline constexpr int TitleTop = 240;
inline constexpr int MessageLeft = 300;
inline constexpr int MessageTop = 840;
inline constexpr int MessageWidth = 4230;
inline constexpr int InputLeft = 420;
inline constexpr int InputWidth = 3975;
inline constexpr int InputHeight = 360;
inline constexpr int LeftButton = 1080;  // OK and Yes as designed
inline constexpr int RightButton = 2400; // No, Cancel and System as designed
inline constexpr int Gap = 200;          // between the text, the input box, the buttons and the edge
} // namespace DialogDesign

// One action button that a dialog shows, by its control name, and its left edge.
struct PlacedButton
{
    QString name;
    float left = 0;

    friend bool operator==(const PlacedButton&, const PlacedButton&) = default;
};

// The buttons shown for a button set, left to right. A single button is centred in
// innerWidth, a pair is centred as one block with no gap between them; the divisions keep
// their fractions (single precision). With the input box the set is ignored: OK and Cancel
// stand where they were designed. Every button is buttonWidth wide.
QList<PlacedButton> DialogButtonPlaces(bool withInput, qint32 buttons, float innerWidth, float buttonWidth);

// Where the rows below the message go, from the message's wrapped height.
struct DialogRows
{
    int inputTop = 0;  // the input box, when it is shown
    int buttonTop = 0; // every action button, hidden ones included
    int height = 0;    // the dialog's outer height
};

// Without the input box the buttons sit Gap below the message and the dialog ends Gap below
// them. The input box takes the buttons' place and moves them one box and one Gap further down.
DialogRows DialogLayOut(int messageTop, int messageHeight, int buttonHeight, bool withInput);
