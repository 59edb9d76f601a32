#include "platform/linux/systemd/ShellScope.h"

#include <unistd.h>

#include <sys/stat.h>

#include "core/support/StringHelpers.h"

namespace plintor {
namespace {

constexpr std::string_view ScopeRunnerName = "systemd-run";
constexpr std::string_view DefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string findOnPath(std::string_view path, std::string_view name) {
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string candidate =
            std::string(path.substr(start, end - start)) + "/" + std::string(name);
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

// The manager's own socket, or the user's bus through which it is reached as well.
bool managerReachable(const std::vector<std::string>& environment) {
    const std::string runtime(environmentValue(environment, "XDG_RUNTIME_DIR"));
    return !runtime.empty() &&
           (isSocket(runtime + "/systemd/private") || isSocket(runtime + "/bus"));
}

}  // namespace

// A line per hierarchy, "ID:CONTROLLERS:PATH"; a unit's group is a service below the manager's
// own "user@UID.service".
bool ShellScope::isUserService(std::string_view cgroupText) {
    while (!cgroupText.empty()) {
        const std::size_t lineEnd = std::min(cgroupText.find('\n'), cgroupText.size());
        const std::string_view line = cgroupText.substr(0, lineEnd);
        cgroupText.remove_prefix(std::min(lineEnd + 1, cgroupText.size()));
        const std::size_t pathStart = line.find(":/", line.find(':') + 1);
        if (pathStart == std::string_view::npos) {
            continue;
        }
        const std::string_view path = line.substr(pathStart + 1);
        const std::size_t manager = path.find("/user@");
        if (manager == std::string_view::npos) {
            continue;
        }
        const std::size_t below = path.find(".service/", manager);
        if (below != std::string_view::npos && path.ends_with(".service")) {
            return true;
        }
    }
    return false;
}

ShellScope ShellScope::forProcess(std::string_view cgroupText,
                                  const std::vector<std::string>& environment) {
    if (!isUserService(cgroupText) || !managerReachable(environment)) {
        return ShellScope("");
    }
    std::string_view path = environmentValue(environment, "PATH");
    return ShellScope(findOnPath(path.empty() ? DefaultSearchPath : path, ScopeRunnerName));
}

// The program file is named by its path: the runner would look a bare name up again. --collect
// lets the scope go even when the program fails; --quiet keeps its notice out of the output.
std::vector<std::string> ShellScope::arguments(const ShellCommand& command,
                                               const std::string& programPath) const {
    if (!usesScope()) {
        return command.arguments;
    }
    std::vector<std::string> arguments{m_scopeRunner, "--user", "--scope",  "--quiet",
                                       "--collect",   "--",     programPath};
    arguments.insert(arguments.end(), command.arguments.begin() + 1, command.arguments.end());
    return arguments;
}

}  // namespace plintor
