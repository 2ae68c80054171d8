// The entry of libvanisto-gui.so, the first instance's windows (see WindowLibrary.h).
#include "app/Main.h"
#include "app/WindowLibrary.h"
#include "common/LogError.h"
#include "dialogs/TutorialOpener.h"
#include "platform/CommandRelay.h"
#include "platform/RawCommandLine.h"
#include "shredlist/frmMainCode.h"
#include "tutorial/frmTutorial.h"
#ifdef VANISTO_ONLINE_CHECK
#include "online/OnlineCheck.h"
#endif

#include <QApplication>
#include <QLockFile>

#include <memory>
#include <type_traits>

namespace {
// The first instance's part of Main, between the previous-instance test and the command line.
void startFirstInstance()
{
    if (!CommandRelayConnector::commandRelay()->listen())
        LogError(QStringLiteral("modGeneral"), QStringLiteral("Main"), ErrorNumber::PathFileAccessError,
                 QStringLiteral("The command relay cannot listen"));
    // The about and options windows open the tutorial through this.
    SetTutorialOpener(OpenTutorial);
#ifdef VANISTO_ONLINE_CHECK
    InstallOnlineCheck(*frmMainCode::instance());
#endif
    // Loading does not show the window; it appears when items arrive.
    frmMainCode::instance()->Form_Load();
}
} // namespace

extern "C" Q_DECL_EXPORT int vanisto_first_instance(int* argc, char** argv, QLockFile* lock)
{
    CommandRelayConnector::commandRelay()->continueFirstInstance(std::unique_ptr<QLockFile>(lock));

    // Under Wayland a window can neither stay on top nor stay off the task bar, so
    // Vanisto runs through XWayland when it can, unless the user chose a platform.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(*argc, argv);
    // The main window is hidden most of the time; the program lives on without it.
    app.setQuitOnLastWindowClosed(false);

    if (Main(PathArguments(*argc, argv), startFirstInstance) != StartResult::FirstInstance)
        return 0;
    return app.exec();
}
static_assert(std::is_same_v<decltype(&vanisto_first_instance), WindowLibrary::Entry>);
