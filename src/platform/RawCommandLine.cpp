#include "RawCommandLine.h"

#include "PathBytes.h"

#include <cstdlib>
#include <memory>
#include <unistd.h>

QStringList AbsolutePaths(const QStringList& arguments, const QString& workingFolder)
{
    QStringList paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        // Joined as text rather than cleaned: "a/../b" must stay what the user typed,
        // because a/ may be a symbolic link.
        if (argument.startsWith(QLatin1Char('/')))
            paths << argument;
        else
            paths << workingFolder +
                         (workingFolder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) +
                         argument;
    }
    return paths;
}

QStringList PathArguments(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(PathBytes::decode(QByteArray(argv[i])));
    return arguments;
}

QString WorkingFolder()
{
    // getcwd with no buffer allocates one as long as the path, which may exceed PATH_MAX.
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? PathBytes::decode(QByteArray(folder.get())) : QString();
}
