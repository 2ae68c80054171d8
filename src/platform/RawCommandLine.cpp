#include "RawCommandLine.h"

QString RawCommandLine(const QStringList& arguments, const QString& workingFolder)
{
    QStringList parts;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        // Joined as text rather than cleaned: "a/../b" must stay what the user typed,
        // because a/ may be a symbolic link.
        QString path = argument;
        if (!path.startsWith(QLatin1Char('/')))
            path = workingFolder +
                   (workingFolder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + argument;
        if (path.contains(QLatin1Char(' ')))
            path = QLatin1Char('"') + path + QLatin1Char('"');
        parts << path;
    }
    return parts.join(QLatin1Char(' '));
}
