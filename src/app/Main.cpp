#include "Main.h"

#include "common/LogError.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"
#include "shredlist/frmMainCode.h"

namespace {
void logMainError(const QString& description)
{
    LogError(QStringLiteral("modGeneral"), QStringLiteral("Main"), ErrorNumber::PathFileAccessError,
             description);
}
} // namespace

bool Main(const QStringList& arguments)
{
    SharedState& state = Shared();
    state.IsFirstInstance = false;

    CommandRelay* relay = CommandRelayConnector::commandRelay();

    if (!relay->otherInstanceRunning()) {
        state.IsFirstInstance = true;
        if (!relay->listen())
            logMainError(QStringLiteral("The command relay cannot listen"));
        // Loading does not show the window; it appears when items arrive.
        frmMainCode::instance()->Form_Load();
    }

    state.FirstStartEver =
        ReadBooleanSetting(Setting::FirstStartEver, QStringLiteral("modGeneral"), QStringLiteral("Main"));
    SaveBooleanSetting(Setting::FirstStartEver, false);

    const QString commandLine = RawCommandLine(arguments, WorkingFolder());
    bool delivered = true;
    if (!commandLine.isEmpty())
        delivered = relay->setCommandLine(commandLine);
    else if (!state.IsFirstInstance || state.FirstStartEver)
        delivered = relay->setCommandLine(SentinelSentence);
    if (!delivered)
        logMainError(QStringLiteral("The running instance did not take the command line"));

    return !relay->otherInstanceRunning();
}
