#pragma once

#include "DialogAnswer.h"

#include <QString>
#include <QVariant>

class QWidget;

// The codes of the button sets, the icons and the answers, and DialogAnswer, are in DialogAnswer.h.

// The one way the program asks or tells the user anything: the skinned message dialog,
// shown modally over `owner`. `message` lines are separated by CR LF. With `withInput` the
// dialog has a one-line input box with OK and Cancel and `buttons` is ignored.
// Returns the code of the button that closed the dialog (DialogAnswerCode), or for OK with
// the input box the text "0;" followed by what was typed. Callers compare the answer as
// text with "2" for Yes. The main window is made topmost again afterwards. `owner` may be
// null when no window asks (the dialog then opens on the primary screen).
QVariant ShowDialog(QWidget* owner, const QString& message, const QString& title, bool withInput,
                    qint32 buttons, qint32 iconKind, bool closeEnabled);

// Starts the desktop's system-information tool (the message dialog's System button, the about
// window's System Info). When there is none, or it cannot be started, the notice "System
// Information Is Unavailable At This Time." is shown over the main window.
void StartSysInfo();
