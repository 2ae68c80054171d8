#pragma once

// Where the random capitals of the passes and of the new names come from.
class LetterSource
{
public:
    virtual ~LetterSource() = default;
    // One of 'A' to 'Z'.
    virtual char letter() = 0;
};

// Letters from the operating system's random source (getrandom), so no two runs repeat the
// same letters and nothing of the program seeds anything.
class SystemLetterSource : public LetterSource
{
public:
    char letter() override;
};
