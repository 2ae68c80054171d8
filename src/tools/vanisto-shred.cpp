// vanisto-shred: the shred engine on the command line, for scripts and for measurements.
#include "TerminalShredWindow.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "engine/ShredEngine.h"
#include "engine/ShredPasses.h"
#include "platform/ParentFolder.h"
#include "platform/PathBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
const char* const Usage =
    "Usage: vanisto-shred [--method normal|enhanced|ultra] [--wipes N] [--] PATH...\n"
    "\n"
    "Destroys files and folders so that their contents cannot be recovered: each file is\n"
    "overwritten pass by pass (every pass reaches the disk before the next one), renamed to\n"
    "random capitals and deleted; folders are shredded depth-first and removed.\n"
    "\n"
    "  --method M   normal: one random letter per pass; enhanced: \"1\", \"0\", random letters;\n"
    "               ultra: \"1\", \"0\", \"10101010\", \"01010101\", random letters\n"
    "  --wipes N    how many times the passes are repeated (enhanced and ultra: at least 8)\n"
    "  --help       shows this text\n"
    "\n"
    "Without --method or --wipes, the method and wipe count chosen in Vanisto's options are used.\n"
    "Each PATH is found as the shell finds it (links among its folders followed); the item itself\n"
    "is never followed: a symbolic link is removed as a link. Inside folders nothing is followed,\n"
    "other file systems are not entered; FIFOs, sockets and devices are never opened; system\n"
    "items (the root, mount points, the home folder and the folders that hold it, the operating\n"
    "system's folders) and paths ending in \".\" or \"..\" are refused. A file that is in use by\n"
    "another program, locked or on a read-only mount is queued and shredded when Vanisto next\n"
    "starts, if it is still the same file then; one this user may not change is reported. A file\n"
    "with more than one name is overwritten only when every name of it is shredded in the same\n"
    "run; otherwise only the name given goes and its content lives on under the others. Only\n"
    "the parts of a sparse file that hold data are overwritten.\n"
    "One line is printed for each refused, queued, kept or failed item. On copy-on-write and\n"
    "network file systems (btrfs, zfs, nfs ...) overwriting does not reach the old blocks: the\n"
    "files are removed all the same, and a warning line names each such file system.\n"
    "\n"
    "Exit status: 0 when every PATH was destroyed; 1 when one was not (refused, queued, kept or\n"
    "failed); 2 on a usage error; 3 when every PATH was removed but some content may remain on\n"
    "copy-on-write or network storage.\n";

constexpr int ExitNotDestroyed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitContentMayRemain = 3;

struct Options
{
    qint16 method = 0;
    qint32 wipes = -1;
    QStringList paths;
    bool help = false;
    QString error;
};

qint16 methodNamed(const QString& name)
{
    if (name == QLatin1String("normal"))
        return ShredMethod::Normal;
    if (name == QLatin1String("enhanced"))
        return ShredMethod::Enhanced;
    if (name == QLatin1String("ultra"))
        return ShredMethod::Ultra;
    return 0;
}

Options parse(const QStringList& arguments)
{
    Options options;
    bool onlyPaths = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (onlyPaths || !argument.startsWith(QLatin1String("--"))) {
            options.paths.append(argument);
        } else if (argument == QLatin1String("--")) {
            onlyPaths = true;
        } else if (argument == QLatin1String("--help")) {
            options.help = true;
        } else if (argument == QLatin1String("--method") && i + 1 < arguments.size()) {
            options.method = methodNamed(arguments.at(++i));
            if (options.method == 0)
                options.error = QStringLiteral("unknown method: ") + arguments.at(i);
        } else if (argument == QLatin1String("--wipes") && i + 1 < arguments.size()) {
            bool ok = false;
            options.wipes = arguments.at(++i).toInt(&ok);
            if (!ok || options.wipes < 1)
                options.error =
                    QStringLiteral("the wipe count must be a number from 1 up: ") + arguments.at(i);
        } else {
            options.error = QStringLiteral("unknown or incomplete option: ") + argument;
        }
    }
    if (options.error.isEmpty() && options.paths.isEmpty() && !options.help)
        options.error = QStringLiteral("no path given");
    return options;
}

void printLine(TerminalShredWindow& window, FILE* stream, const QString& text)
{
    window.clearLine();
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Raw arguments, not QCoreApplication::arguments(): names need not be valid text.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(PathBytes::decode(argv[i]));
    const Options options = parse(arguments);
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "vanisto-shred: %s\n%s", options.error.toLocal8Bit().constData(), Usage);
        return ExitUsage;
    }

    const QString module = QStringLiteral("vanisto-shred");
    SharedState& state = Shared();
    state.FastShred =
        options.method != 0 ? options.method : ReadIntegerSetting(Setting::FastShred, module, module);
    state.NumOverwrite =
        options.wipes > 0 ? options.wipes : ReadLongSetting(Setting::NumOverwrite, module, module);
    CorrectShredSettings(state);

    TerminalShredWindow window;
    ShredEngine engine(window);
    bool allDestroyed = true;
    bool copyOnWrite = false;
    engine.setEventHandler([&](const ShredEvent& event) {
        const QString path = PathBytes::readable(event.path);
        switch (event.kind) {
        case ShredEvent::Kind::Refused:
            printLine(window, stdout, QStringLiteral("refused: %1: %2").arg(path, event.reason));
            break;
        case ShredEvent::Kind::Queued:
            printLine(
                window, stdout,
                QStringLiteral("queued: %1: %2 (shredded when Vanisto next starts)").arg(path, event.reason));
            break;
        case ShredEvent::Kind::FolderKept:
        case ShredEvent::Kind::ContentKept:
            printLine(window, stdout, QStringLiteral("kept: %1: %2").arg(path, event.reason));
            break;
        case ShredEvent::Kind::Failed:
            printLine(window, stdout, QStringLiteral("failed: %1: %2").arg(path, event.reason));
            break;
        case ShredEvent::Kind::CopyOnWrite:
            printLine(window, stderr,
                      QStringLiteral("vanisto-shred: warning: %1: %2").arg(path, event.reason));
            copyOnWrite = true;
            return;
        }
        allDestroyed = false;
    });

    for (const QString& path : options.paths) {
        if (window.caption(Caption::lblstatus) == RunCaption::Stopped) {
            printLine(window, stdout, QStringLiteral("stopped: %1").arg(PathBytes::readable(path)));
            allDestroyed = false;
            continue;
        }
        const ParentFolder parent = ParentFolder::open(path, true);
        struct stat info
        {
        };
        const bool missing = parent.isOpen() ? ::fstatat(parent.fd(), parent.name().constData(), &info,
                                                         AT_SYMLINK_NOFOLLOW) != 0
                                             : parent.error() == ENOENT;
        if (missing) {
            printLine(window, stdout, QStringLiteral("missing: %1").arg(PathBytes::readable(path)));
            allDestroyed = false;
            continue;
        }
        // A folder, or a path whose refusal LoadFolders reports; a file takes its listed name.
        if (!parent.isOpen() || S_ISDIR(info.st_mode))
            engine.LoadFolders(path);
        else
            engine.ShredFile(path, PathBytes::decode(parent.name()));
    }
    engine.FinishRun();
    window.clearLine();
    if (qEnvironmentVariableIsSet("VANISTO_SHRED_YIELD_STATS"))
        std::fprintf(stderr, "longest stretch between yields: %lld ms\n",
                     static_cast<long long>(window.longestStretch()));
    if (!allDestroyed)
        return ExitNotDestroyed;
    return copyOnWrite ? ExitContentMayRemain : 0;
}
