#pragma once

#include "shredlist/CountCaptions.h"

// What the Shred List needs of the main window that carries it. The main window
// implements it; tests use a fake.
class ShredListWindow
{
public:
    virtual ~ShredListWindow() = default;

    // Makes the window topmost, restores it when minimised and makes it visible.
    virtual void ShowForm() = 0;
    // Makes the window invisible (the program keeps running).
    virtual void HideForm() = 0;
    // Label1, lblPrompt and lblshred take these texts.
    virtual void SetCountCaptions(const CountCaptions& captions) = 0;
    // myscroller's minimum, maximum and value. Its change event is forwarded to
    // ShredList::ScrollList as usual, also when it follows from this call.
    virtual void SetScroller(int min, int max, int value) = 0;
};
