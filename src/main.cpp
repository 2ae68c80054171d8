#include "app/Main.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // A later launch only hands its paths to the running instance: it needs no display.
    if (CommandRelayConnector::commandRelay()->otherInstanceRunning()) {
        QCoreApplication app(argc, argv);
        return Main(PathArguments(argc, argv)) == StartResult::HandedOver ? 0 : 1;
    }

    // Under Wayland a window can neither stay on top nor stay off the task bar, so
    // Vanisto runs through XWayland when it can, unless the user chose a platform.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    // The main window is hidden most of the time; the program lives on without it.
    app.setQuitOnLastWindowClosed(false);

    if (Main(PathArguments(argc, argv)) != StartResult::FirstInstance)
        return 0;
    return app.exec();
}
