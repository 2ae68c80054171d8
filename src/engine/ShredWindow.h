#pragma once

#include <QString>
#include <QtGlobal>

// The labels whose captions carry the run state between the engine and the window's buttons.
enum class Caption
{
    lblstatus,  // "Stopped" idle, "Shredding" run started, "Done" a file of the run finished
    lblstatus2, // "Shredding" while a file is being overwritten, "Done" otherwise
    lblshred,   // the Shred button's text; "Stopping" is the stop request
    lblPrompt,  // the prompt text above the bars
    Label1      // the item count of the list layout
};

// The two progress bars: the large one and the small one that the collapsed window shows.
enum class Bar
{
    baredit,
    bareditsmall
};

// The exact captions the engine writes and tests; the buttons compare against the same texts.
namespace RunCaption {
inline const QString Stopped = QStringLiteral("Stopped");
inline const QString Shredding = QStringLiteral("Shredding");
inline const QString Done = QStringLiteral("Done");
inline const QString Stopping = QStringLiteral("Stopping");
} // namespace RunCaption

// All the engine knows of the main window. The engine runs on the user-interface thread and
// calls yield() very often, so that the window repaints and its buttons run in the middle of
// a shred; the buttons answer only by changing captions (lblshred := "Stopping"), which the
// engine reads back. A test or a terminal front end implements it without any widget.
class ShredWindow
{
public:
    virtual ~ShredWindow() = default;

    virtual QString caption(Caption label) const = 0;
    virtual void setCaption(Caption label, const QString& text) = 0;

    virtual void setBarVisible(Bar bar, bool visible) = 0;
    virtual void setBarMax(Bar bar, qint64 max) = 0;
    virtual void setBarValue(Bar bar, qint64 value) = 0;

    // The small bar is shown exactly when the expand button is.
    virtual bool expandVisible() const = 0;

    // Lets pending window events run once (button clicks, repaints, timers, drops).
    virtual void yield() = 0;
};
