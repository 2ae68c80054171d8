#include "Main.h"

#include "common/LogError.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"
#include "platform/ShellMenu.h"

#include <cstdio>

namespace {
void logMainError(const QString& description)
{
    LogError(QStringLiteral("modGeneral"), QStringLiteral("Main"), ErrorNumber::PathFileAccessError,
             description);
}
} // namespace

StartResult Main(const QStringList& arguments, void (*startFirstInstance)())
{
    SharedState& state = Shared();
    state.IsFirstInstance = false;

    CommandRelay* relay = CommandRelayConnector::commandRelay();

    if (!relay->otherInstanceRunning()) {
        state.IsFirstInstance = true;
        // Before the command line goes out: the main window connects itself to the relay as it
        // loads, and the first instance's own paths must reach it.
        if (startFirstInstance)
            startFirstInstance();
    }

    state.FirstStartEver =
        ReadBooleanSetting(Setting::FirstStartEver, QStringLiteral("modGeneral"), QStringLiteral("Main"));
    SaveBooleanSetting(Setting::FirstStartEver, false);

    const QStringList paths = AbsolutePaths(arguments, WorkingFolder());
    // Started by a click in a file manager, which hands its selection over itself.
    const bool forMenu = qEnvironmentVariableIsSet(ShellMenu::StartedForMenuVariable);
    qunsetenv(ShellMenu::StartedForMenuVariable);
    CommandRelay::Delivery delivery = CommandRelay::Delivery::Delivered;
    if (!paths.isEmpty())
        delivery = relay->setCommandLine(paths);
    else if (state.FirstStartEver || (!forMenu && !state.IsFirstInstance))
        delivery = relay->setCommandLine({SentinelSentence});

    if (state.IsFirstInstance)
        return StartResult::FirstInstance;
    if (delivery == CommandRelay::Delivery::Delivered)
        return StartResult::HandedOver;
    ReportNotDelivered(delivery);
    return StartResult::NotDelivered;
}

void ReportNotDelivered(CommandRelay::Delivery delivery)
{
    logMainError(QStringLiteral("The running instance did not take the command line"));
    std::fputs(delivery == CommandRelay::Delivery::OtherVersion
                   ? "vn10: the running Vanisto is another version and refused these paths; quit it and "
                     "start again\n"
                   : "vn10: the running Vanisto did not answer; the paths were not handed over\n",
               stderr);
}
