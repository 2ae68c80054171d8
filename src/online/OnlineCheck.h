#pragma once

#include "modVersion.h"

#include <QObject>

#include <optional>

class frmMainCode;

// The main window's once-per-run look at the product web site, driven by its CheckOnline
// timer: while the program is idle and the site answers, it reads version.txt, asks about an
// upgrade once per published version and starts or stops the announcements ball. Each tick's
// network work runs on the event loop, so the window stays usable, and a tick never starts
// while the last one's work is still under way.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    explicit OnlineCheck(frmMainCode& window);

    void CheckOnline_Timer();
    // The ball opens the announcements window.
    void btnBall_MouseUp();

    const OnlineState& state() const { return m_state; }

private:
    bool Idle() const;
    void ConnectionAnswered(bool connected);
    void Finish(bool askUpgrade);
    void AskUpgrade();

    frmMainCode& m_window;
    OnlineState m_state;
    bool m_busy = false;
    // NewerVersionAvailable's answer, kept when a shred run began while it was fetched: the
    // first idle tick after the run acts on it.
    std::optional<bool> m_newer;
};

// Gives the main window its online check (the window's load starts the timer) and the ball
// its announcements window. The check belongs to the window.
void InstallOnlineCheck(frmMainCode& window);
