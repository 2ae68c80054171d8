#include "ShellMenu.h"

#include "platform/AppFolder.h"
#include "platform/SystemItems.h"

#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace {
// How long a click looks for a listening instance before it decides that none runs; one that
// listens is waited for as long as it takes to answer.
constexpr int ProbeMs = 300;
} // namespace

bool ShellMenu::EntryOffered(const QStringList& selection)
{
    if (selection.isEmpty())
        return false;
    for (const QString& path : selection)
        if (path.isEmpty() || IsSystemItem(path) || IsStartMenuFolder(path))
            return false;
    return true;
}

CommandRelay::Delivery ShellMenu::DeliverClick(const QStringList& selection, const QString& program)
{
    const QStringList message = QStringList{ClickMarker} + selection;
    if (CommandRelay::handOver(message, ProbeMs) == CommandRelay::Delivery::Delivered)
        return CommandRelay::Delivery::Delivered;
    // One click at a time starts the program; the next finds it listening.
    QLockFile starting(RuntimeFolder::path() + QStringLiteral("/shellmenu-start.lock"));
    starting.setStaleLockTime(CommandRelay::HandOverTimeoutMs * 2);
    if (!starting.tryLock(CommandRelay::HandOverTimeoutMs))
        return CommandRelay::Delivery::NoAnswer;
    const CommandRelay::Delivery again = CommandRelay::handOver(message, ProbeMs);
    if (again != CommandRelay::Delivery::NoAnswer)
        return again;
    QProcess start;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(StartedForMenuVariable), QStringLiteral("1"));
    start.setProcessEnvironment(environment);
    start.setProgram(program);
    if (!start.startDetached())
        return CommandRelay::Delivery::NoAnswer;
    return CommandRelay::handOver(message);
}
