#pragma once

#include <QString>

// The texts of the main window's three count labels for a number of items: Label1 (the
// count), lblPrompt (the confirmation question) and lblshred (the Shred button's text).
struct CountCaptions
{
    QString Label1;
    QString lblPrompt;
    QString lblshred;

    bool operator==(const CountCaptions&) const = default;
};

CountCaptions CountCaptionsFor(int itemCount);
