// vanisto-shellmenu [--before-popup] [--] PATH...
// vanisto-shellmenu --remove
//
// What the file managers' "Delete with Vanisto" runs, with the selection as its arguments,
// one path each, every byte kept. With --before-popup it only answers whether the entry is
// offered for the selection (exit status 0 offered, 1 not), for the formats that can ask
// before they show it. Otherwise it is the click: a selection the entry would not be offered
// for does nothing (status 1); else the selection goes to the running Vanisto, which is
// started first when none runs (status 0 delivered, 2 not). It needs no display and loads no
// graphical library: a file manager runs it once per click. --remove takes every file
// manager's entry out again (the program writes them when it starts).
#include "platform/RawCommandLine.h"
#include "platform/ShellMenu.h"
#include "platform/ShellMenuEntries.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = PathArguments(argc, argv);
    bool beforePopup = false;
    while (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--"))
            break;
        if (option == QLatin1String("--remove") && arguments.isEmpty()) {
            ShellMenuEntries::Remove();
            return 0;
        }
        if (option != QLatin1String("--before-popup")) {
            std::fprintf(stderr, "usage: vanisto-shellmenu [--before-popup] [--] PATH...\n"
                                 "       vanisto-shellmenu --remove\n");
            return 2;
        }
        beforePopup = true;
    }
    // A file manager that does not fill in the selection where it asks first leaves the field
    // code itself: that says nothing against the entry, and the click asks again.
    if (beforePopup && arguments.size() == 1 && arguments.first().size() == 2 &&
        arguments.first().startsWith(u'%'))
        return 0;
    const QStringList selection = AbsolutePaths(arguments, WorkingFolder());
    if (!ShellMenu::EntryOffered(selection))
        return 1;
    if (beforePopup)
        return 0;
    // The program beside this helper, where an install puts both; else the one on PATH.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/vn10");
    const QString program = QFileInfo(beside).isExecutable() ? beside : QStringLiteral("vn10");
    return ShellMenu::DeliverClick(selection, program) == CommandRelay::Delivery::Delivered ? 0 : 2;
}
