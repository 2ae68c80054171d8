#include "SystemInfoTool.h"

#include <QStandardPaths>
#include <QStringList>

namespace {
struct Tool
{
    const char* program;
    const char* arguments;
};

QString commandLine(const Tool& tool)
{
    QString program = QStandardPaths::findExecutable(QLatin1String(tool.program));
    if (program.isEmpty())
        return program;
    if (program.contains(QLatin1Char(' ')))
        program = QLatin1Char('"') + program + QLatin1Char('"');
    if (*tool.arguments)
        program += QLatin1Char(' ') + QLatin1String(tool.arguments);
    return program;
}

QString desktopTool()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    for (const QString& desktop : desktops) {
        if (desktop.compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0)
            return commandLine({"kinfocenter", ""});
        if (desktop.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0)
            return commandLine({"gnome-control-center", "info-overview"});
    }
    return QString();
}
} // namespace

QString SystemInfoTool()
{
    if (const QString tool = desktopTool(); !tool.isEmpty())
        return tool;
    static const Tool fallbacks[] = {{"hardinfo", ""},
                                     {"gnome-system-monitor", ""},
                                     {"mate-system-monitor", ""},
                                     {"xfce4-taskmanager", ""}};
    for (const Tool& tool : fallbacks)
        if (const QString found = commandLine(tool); !found.isEmpty())
            return found;
    return QString();
}
