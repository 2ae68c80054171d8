#include "OnlineCheck.h"

#include "dialogs/modDialog.h"
#include "engine/ShredWindow.h"
#include "frmAd.h"
#include "modGetConnect.h"
#include "platform/Identity.h"
#include "shredlist/frmMainCode.h"
#include "skin/modSkinForm.h"

OnlineCheck::OnlineCheck(frmMainCode& window) : QObject(&window), m_window(window) {}

bool OnlineCheck::Idle() const
{
    return m_window.caption(Caption::lblstatus) == RunCaption::Stopped;
}

void OnlineCheck::CheckOnline_Timer()
{
    if (m_busy)
        return;
    m_busy = true;
    ActiveConnection(this, [this](bool connected) {
        m_busy = false;
        ConnectionAnswered(connected);
    });
}

void OnlineCheck::ConnectionAnswered(bool connected)
{
    if (!connected || !Idle() || m_state.onlineCheckDone)
        return;
    if (m_newer)
        return Finish(*m_newer);
    m_busy = true;
    NewerVersionAvailable(m_state, this, [this](bool newer) {
        m_busy = false;
        m_newer = newer;
        if (Idle())
            Finish(newer);
    });
}

void OnlineCheck::Finish(bool askUpgrade)
{
    // The question waits in a dialog of its own; no tick may start another check meanwhile.
    m_busy = true;
    if (askUpgrade)
        AskUpgrade();
    if (m_state.newAnnouncements)
        m_window.StartBall();
    else
        m_window.StopBall();
    m_state.onlineCheckDone = true;
    m_window.SetTimerInterval(RunTimer::CheckOnline, 0);
    m_busy = false;
}

void OnlineCheck::AskUpgrade()
{
    const QString product = QLatin1String(Identity::ProductName);
    const QString site = modGetConnect::SiteAddress();
    const QString question = m_state.upgradeMessage + QStringLiteral("\r\n\r\nWould you like to visit the ") +
                             product + QStringLiteral(" website for more information?");
    m_window.yield();
    MakeNormal(&m_window);
    const bool visit = ShowDialog(&m_window, question, QStringLiteral("Upgrade information..."), false,
                                  DialogButtons::YesNo, DialogIcon::Question, true)
                           .toString() == QStringLiteral("2");
    MakeTopMost(&m_window);
    if (!visit)
        return;
    const QString browser = StandardBrowser();
    if (!browser.isEmpty() && StartBrowser(browser, site))
        return;
    ShowDialog(&m_window,
               QStringLiteral("We were unable to auto-navigate to the ") + product +
                   QStringLiteral(" website.  Please visit us at \r\n") + site +
                   QStringLiteral("\r\nfor upgrade information."),
               QStringLiteral("Navigation error..."), false, DialogButtons::OK, DialogIcon::Exclamation,
               true);
}

void OnlineCheck::btnBall_MouseUp()
{
    OpenAnnouncementsWindow(m_window, m_state);
}

void InstallOnlineCheck(frmMainCode& window)
{
    auto* check = new OnlineCheck(window);
    window.SetOnlineCheck([check] { check->CheckOnline_Timer(); }, [check] { check->btnBall_MouseUp(); });
}
