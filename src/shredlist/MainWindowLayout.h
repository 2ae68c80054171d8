#pragma once

#include "common/LogError.h"

#include <QString>
#include <QWidget>

// What the source files of the main window share: its name, the two layouts' names and sizes,
// the ball's timing, the log and the visibility test. The class frmMainCode is defined across
//   frmMainCode.cpp          construction, the controls, Form_Load, the layouts, the window's events;
//   DropsAndCommandLine.cpp  how items arrive: drops, their screening and the relay's hand-overs;
//   MainWindowRun.cpp        the run's buttons and what the engine and the run see of the window;
//   MainWindowList.cpp       what the Shred List sees, the count captions and the Selection commands;
//   AnnouncementsBall.cpp    the announcements ball.
namespace MainWindowLayout {
inline const QString Module = QStringLiteral("frmMainCode");
inline const QString HideListState = QStringLiteral("hidelist");
inline const QString ShowListState = QStringLiteral("showlist");

// Layout sizes in twips; the contracted bar is 46 screen pixels high.
inline constexpr int HiddenWidth = 5000;
inline constexpr int HiddenHeight = 1800;
inline constexpr int ShownWidth = 7275;
inline constexpr int ShownHeight = 7410;
inline constexpr int ContractedHeightPixels = 46;
inline constexpr int PromptLeft = 450;
inline constexpr int PromptTop = 660;

inline constexpr int CheckOnlineInterval = 5000;
inline constexpr int BallTicksPerColour = 40;
inline constexpr int BallFadeStep = 10;

// Pixel positions of the controls the skin painter does not place.
inline constexpr int RowTopHidden = 86;
inline constexpr int RowBottomMargin = 58;
inline constexpr int ListFrameTop = 106;
inline constexpr int FrameInset = 8;

inline void Log(const QString& procedure, long number, const QString& description)
{
    LogError(Module, procedure, number, description);
}

inline bool Shown(const QWidget* control)
{
    return !control->isHidden();
}
} // namespace MainWindowLayout
