#pragma once

// A later launch in the common case, before any Qt library is loaded: a running first
// instance listens, this is not the first start ever, and the arguments are paths to hand
// over. It does what Main does for such a launch (the same absolute paths, the same frame,
// the sentinel sentence when there are none) with plain system calls, so that a hand-over
// costs little more than starting a process. Everything else (no instance listening yet, the
// first start ever, a launch by the file managers' helper, a folder that cannot be read) is
// left to Main.
enum class QuickHandOverResult
{
    Delivered,
    NotTried,    // left to Main; nothing was sent
    NoAnswer,    // sent, and the first instance did not take it
    OtherVersion // sent, and the first instance speaks another version of the hand-over
};

QuickHandOverResult QuickHandOver(int argc, const char* const* argv);
