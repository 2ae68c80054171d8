#pragma once

#include <QString>
#include <QtGlobal>

struct SharedState;

// The rules of the options window without the window: every change is made in the shared state
// that the engine reads and stored in the settings in the same step, and ENHANCED and ULTRA
// keep their 8 wipes from both sides (more methods raise the wipes; fewer wipes reset the
// method). The window shows what these return.
namespace OptionRules {
inline constexpr qint32 EnhancedWipes = 8;

QString WipesText(qint32 wipes);   // "Number of wipes: 8"
QString MethodText(qint16 method); // "Shred Method is: NORMAL" ...
QString InstantText(bool instant); // "Instant Shred is: ON" / "OFF"

// The wipes box's key filter: digits and Backspace pass, Enter passes and applies the number.
bool KeyPasses(int key);
// What the wipes box holds after a change: a number of 0 or less becomes "1".
QString CorrectedWipesBox(const QString& text);

// SetWipes: the number in the box takes effect. Empty when it did; otherwise the reason it
// could not (no number, or one too large for 32 bits), and nothing changed. *notice receives
// the reset notice when fewer than 8 wipes set the method back to NORMAL, else is cleared.
QString SetWipes(SharedState& state, const QString& box, QString* notice);

// The method cycle NORMAL, ENHANCED, ULTRA, NORMAL ...; *notice receives the notice when the
// wipes had to be raised to 8, else is cleared.
void CycleMethod(SharedState& state, QString* notice);

// Instant Shred switched; returns the new value.
bool ToggleInstant(SharedState& state);

// The warning prompt's check box.
void SetPrompt(SharedState& state, bool checked);

// The method as the window finds it when it opens: ENHANCED or ULTRA with fewer than 8 wipes
// gets 8; a value it does not know becomes NORMAL with 8 wipes, both stored again. True when
// the wipes were set to 8.
bool CorrectAtLoad(SharedState& state);
} // namespace OptionRules
