#include "app/Main.h"
#include "app/WindowLibrary.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // A later launch only hands its paths to the running instance: it needs no display, and
    // not one library of the windows is loaded for it.
    if (CommandRelayConnector::commandRelay()->otherInstanceRunning()) {
        QCoreApplication app(argc, argv);
        return Main(PathArguments(argc, argv)) == StartResult::HandedOver ? 0 : 1;
    }
    return WindowLibrary::runFirstInstance(argc, argv);
}
