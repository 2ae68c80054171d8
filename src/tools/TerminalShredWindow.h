#pragma once

#include "engine/ShredWindow.h"

#include <QElapsedTimer>
#include <QHash>

// The shred window of vanisto-shred: keeps the captions and bars in memory and draws one
// progress line on standard error when that is a terminal. Ctrl-C asks for a stop the way the
// Cancel button does (the file in progress is finished); a second Ctrl-C ends at once.
class TerminalShredWindow : public ShredWindow
{
public:
    TerminalShredWindow();
    ~TerminalShredWindow() override;

    QString caption(Caption label) const override;
    void setCaption(Caption label, const QString& text) override;
    void setBarVisible(Bar bar, bool visible) override;
    void setBarMax(Bar bar, qint64 max) override;
    void setBarValue(Bar bar, qint64 value) override;
    bool expandVisible() const override { return false; }
    void yield() override;

    // Clears the progress line so that a message can be printed.
    void clearLine();
    // The longest time between two yields so far, in milliseconds.
    qint64 longestStretch() const { return m_longestStretch; }

private:
    void draw();

    QHash<Caption, QString> m_captions;
    qint64 m_max = 0;
    qint64 m_value = 0;
    bool m_terminal = false;
    bool m_lineShown = false;
    QElapsedTimer m_sinceYield;
    QElapsedTimer m_sinceDraw;
    qint64 m_longestStretch = 0;
};
