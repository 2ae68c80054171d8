// The entries of libvanisto-start.so (see ProgramLibraries.h).
#include "app/Main.h"
#include "app/ProgramLibraries.h"
#include "app/WindowLibrary.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"

#include <QCoreApplication>

#include <type_traits>

extern "C" Q_DECL_EXPORT int vanisto_start(int* argc, char** argv)
{
    // A later launch only hands its paths to the running instance: it needs no display, and
    // not one library of the windows is loaded for it.
    if (CommandRelayConnector::commandRelay()->otherInstanceRunning()) {
        QCoreApplication app(*argc, argv);
        return Main(PathArguments(*argc, argv)) == StartResult::HandedOver ? 0 : 1;
    }
    return WindowLibrary::runFirstInstance(*argc, argv);
}

extern "C" Q_DECL_EXPORT int vanisto_report_not_delivered(int otherVersion)
{
    ReportNotDelivered(otherVersion ? CommandRelay::Delivery::OtherVersion
                                    : CommandRelay::Delivery::NoAnswer);
    return 1;
}

static_assert(std::is_same_v<decltype(&vanisto_start), ProgramLibraries::StartEntry>);
static_assert(std::is_same_v<decltype(&vanisto_report_not_delivered), ProgramLibraries::ReportEntry>);
