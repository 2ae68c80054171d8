#include "QuickHandOver.h"

#include "platform/Identity.h"
#include "platform/RelayProtocol.h"
#include "platform/RelaySender.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// Only an environment value that Qt reads back as the same bytes; any other is left to Main,
// which resolves it through Qt.
std::optional<std::string> plainAbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    for (const char* c = value; *c; ++c)
        if (*c < ' ' || *c > '~')
            return std::nullopt;
    return std::string(value);
}

// The relay socket of a first instance, in a runtime folder that only this user can enter
// (as the relay itself requires).
std::optional<std::string> relaySocket()
{
    const std::optional<std::string> runtime = plainAbsoluteVariable("XDG_RUNTIME_DIR");
    if (!runtime)
        return std::nullopt;
    const std::string folder = *runtime + "/vanisto";
    struct stat st
    {
    };
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return std::nullopt;
    return folder + "/relay";
}

// True only when the user's settings say, in the very words the program writes, that the
// first start is over. Main writes that value on every start; when it is there, it has
// nothing to write.
bool firstStartIsOver()
{
    std::optional<std::string> config = plainAbsoluteVariable("XDG_CONFIG_HOME");
    if (!config) {
        const std::optional<std::string> home = plainAbsoluteVariable("HOME");
        if (!home)
            return false;
        config = *home + "/.config";
    }
    const std::string product = Identity::ProductName;
    std::ifstream settings(*config + "/" + product + "/" + product + ".conf");
    bool inConfig = false;
    int found = 0;
    for (std::string line; std::getline(settings, line);) {
        if (!line.empty() && line.front() == '[')
            inConfig = line == "[Config]";
        else if (inConfig && line.starts_with("FirstStartEver"))
            found += line == "FirstStartEver=False" ? 1 : 2;
    }
    return found == 1;
}

// The arguments made absolute against the working folder, as AbsolutePaths makes them (the
// bytes joined, never cleaned); nothing when the working folder cannot be read.
std::optional<std::vector<std::string>> absolutePaths(int argc, const char* const* argv)
{
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (!folder)
        return std::nullopt;
    const std::string base = folder.get();
    const std::string separator = base.ends_with('/') ? "" : "/";
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!argument.empty())
            paths.push_back(argument.front() == '/' ? argument : base + separator + argument);
    }
    return paths;
}
} // namespace

QuickHandOverResult QuickHandOver(int argc, const char* const* argv)
{
    if (std::getenv(RelayProtocol::StartedForMenuVariable))
        return QuickHandOverResult::NotTried;
    const std::optional<std::string> socket = relaySocket();
    if (!socket || !firstStartIsOver())
        return QuickHandOverResult::NotTried;
    std::optional<std::vector<std::string>> paths = absolutePaths(argc, argv);
    if (!paths)
        return QuickHandOverResult::NotTried;
    if (paths->empty())
        paths->push_back(RelayProtocol::SentinelText);

    const int connection = RelaySender::connectNow(*socket);
    if (connection < 0)
        return QuickHandOverResult::NotTried;
    switch (RelaySender::deliver(connection, RelaySender::frame(*paths), RelayProtocol::HandOverTimeoutMs)) {
    case RelaySender::Answer::Taken:
        return QuickHandOverResult::Delivered;
    case RelaySender::Answer::OtherVersion:
        return QuickHandOverResult::OtherVersion;
    case RelaySender::Answer::NoAnswer:
        break;
    }
    return QuickHandOverResult::NoAnswer;
}
