#pragma once

#include <QString>
#include <QVariant>

class QWidget;

// The button sets of the message dialog.
namespace DialogButtons {
inline constexpr qint32 OK = 1;
inline constexpr qint32 Yes = 2;
inline constexpr qint32 No = 3;
inline constexpr qint32 YesNo = 4;
inline constexpr qint32 OKCancel = 6;
inline constexpr qint32 OKSystemInfo = 7;
} // namespace DialogButtons

// The icon shown in the dialog's corner; 5 or more is the application icon, 0 or less
// leaves the icon as it is.
namespace DialogIcon {
inline constexpr qint32 Information = 1;
inline constexpr qint32 Question = 2;
inline constexpr qint32 Exclamation = 3;
inline constexpr qint32 Critical = 4;
inline constexpr qint32 Application = 5;
} // namespace DialogIcon

// The answers ShowDialog returns.
namespace DialogAnswerCode {
inline constexpr qint16 OK = 0;
inline constexpr qint16 Cancel = 1; // also the frame's close button
inline constexpr qint16 Yes = 2;
inline constexpr qint16 No = 3;
} // namespace DialogAnswerCode

// The one way the program asks or tells the user anything: the skinned message dialog,
// shown modally over `owner`. `message` lines are separated by CR LF. With `withInput` the
// dialog has a one-line input box with OK and Cancel and `buttons` is ignored.
// Returns the code of the button that closed the dialog (DialogAnswerCode), or for OK with
// the input box the text "0;" followed by what was typed. Callers compare the answer as
// text with "2" for Yes. The main window is made topmost again afterwards. `owner` may be
// null when no window asks (the dialog then opens on the primary screen).
QVariant ShowDialog(QWidget* owner, const QString& message, const QString& title, bool withInput,
                    qint32 buttons, qint32 iconKind, bool closeEnabled);

// The answer of the last dialog that one of its buttons closed. It is not reset before a
// dialog is shown: a dialog that ends without a button (its owner went away) leaves the
// previous answer, and ShowDialog returns that.
QVariant& DialogAnswer();
