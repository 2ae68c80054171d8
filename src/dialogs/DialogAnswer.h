#pragma once

#include <QVariant>

class QWidget;

// What the message dialog (frmDialog) and ShowDialog around it (modDialog) share, so that the
// dialog includes and calls nothing of ShowDialog's: the codes, the last answer and the main
// window a dialog returns to.

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

// The answer of the last dialog that one of its buttons closed. It is not reset before a
// dialog is shown: a dialog that ends without a button (its owner went away) leaves the
// previous answer, and ShowDialog returns that.
QVariant& DialogAnswer();

// The main window, which is made topmost again after every dialog; null before it exists.
QWidget* DialogMainWindow();
