// The kiosk has many threads when it starts the shell again, so everything the new process
// needs is prepared before the fork and the forked side only makes async-signal-safe calls.
// A middle process lets the started program be adopted by init: the kiosk never collects it.
#include "platform/linux/posix/ShellLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "core/support/StringHelpers.h"
#include "platform/linux/systemd/ShellScope.h"
#include "platform/posix/UniqueFd.h"

extern char** environ;

namespace plintor {
namespace {

constexpr int NothingToStart = 2;
constexpr long LowestSuccess = 33;
// A program that has neither started nor failed by then is taken as started.
constexpr auto LaunchReportTimeout = std::chrono::seconds(5);
constexpr std::string_view DefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";
constexpr std::string_view DeletedMark = " (deleted)";

std::string readProcFile(long processId, const char* name) {
    std::ifstream file("/proc/" + std::to_string(processId) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string readProcLink(long processId, const char* name) {
    std::error_code error;
    const auto target =
        std::filesystem::read_symlink("/proc/" + std::to_string(processId) + "/" + name, error);
    return error ? std::string() : target.string();
}

// Empty entries inside the list are kept: an empty argument is an argument.
std::vector<std::string> splitAtNul(const std::string& bytes) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        parts.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> ownEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
    }
    return entries;
}

bool readShellCommand(long processId, ShellCommand& command) {
    command.arguments = splitAtNul(readProcFile(processId, "cmdline"));
    if (command.arguments.empty()) {
        return false;
    }
    command.workingFolder = readProcLink(processId, "cwd");
    command.environment = splitAtNul(readProcFile(processId, "environ"));
    if (command.environment.empty()) {
        // Not readable (another user's process): ours comes closest, it has the display.
        command.environment = ownEnvironment();
    }
    command.executable = readProcLink(processId, "exe");
    if (command.executable.ends_with(DeletedMark)) {
        command.executable.clear();
    }
    return true;
}

struct ProgramFile {
    std::string path;
    int error = ENOENT;
};

// Like execvp: a name without a slash is looked up along PATH, and a file found but not
// executable is reported as such rather than as missing.
ProgramFile searchPath(const ShellCommand& command) {
    const std::string& name = command.arguments.front();
    std::string_view path = environmentValue(command.environment, "PATH");
    if (path.empty()) {
        path = DefaultSearchPath;
    }
    ProgramFile result;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string_view folder = path.substr(start, end - start);
        const std::string candidate =
            (folder.empty() ? command.workingFolder : std::string(folder)) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return {candidate, 0};
        }
        if (errno != ENOENT && errno != ENOTDIR) {
            result.error = errno;
        }
        start = end + 1;
    }
    return result;
}

ProgramFile findProgram(const ShellCommand& command) {
    const std::string& name = command.arguments.front();
    ProgramFile found;
    if (name.find('/') == std::string::npos) {
        found = searchPath(command);
    } else {
        found.path = name.front() == '/' ? name : command.workingFolder + "/" + name;
        found.error = ::access(found.path.c_str(), X_OK) == 0 ? 0 : errno;
    }
    // A program that rewrote its first argument still left the file it ran.
    if (found.error != 0 && !command.executable.empty() &&
        ::access(command.executable.c_str(), X_OK) == 0) {
        return {command.executable, 0};
    }
    return found;
}

std::vector<char*> nullTerminated(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& text : strings) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// What the forked processes tell the kiosk through the pipe; each message is one atomic write.
enum LaunchReport : int { Started, ForkFailed, ExecFailed };

void report(int pipe, LaunchReport kind, int value) {
    const int message[2] = {kind, value};
    [[maybe_unused]] const ssize_t written = ::write(pipe, message, sizeof message);
}

void closeDescriptorsExcept(int keep) {
    if (keep > 3) {
        ::close_range(3, static_cast<unsigned>(keep) - 1, 0);
    }
    ::close_range(static_cast<unsigned>(keep) + 1, ~0U, 0);
}

[[noreturn]] void runProgram(const char* program, char* const* arguments, char* const* environment,
                             const char* folder, int pipe) {
    ::setsid();
    if (::chdir(folder) != 0) {
        [[maybe_unused]] const int ignored = ::chdir("/");
    }
    // Handlers are reset by exec but ignored signals and the blocked mask would be inherited.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &standard, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    closeDescriptorsExcept(pipe);
    ::execve(program, arguments, environment);
    report(pipe, ExecFailed, errno);
    ::_exit(127);
}

[[noreturn]] void runMiddle(const char* program, char* const* arguments, char* const* environment,
                            const char* folder, int pipe) {
    const pid_t child = ::fork();
    if (child == 0) {
        runProgram(program, arguments, environment, folder, pipe);
    }
    if (child > 0) {
        report(pipe, Started, child);
    } else {
        report(pipe, ForkFailed, errno);
    }
    ::_exit(0);
}

void waitForExit(pid_t process) {
    while (::waitpid(process, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// The started process id, or the negated errno of the failure. Returns when every writer has
// closed the pipe (the program runs or failed) or when the time is up.
long readLaunchReport(int pipe) {
    const auto deadline = std::chrono::steady_clock::now() + LaunchReportTimeout;
    long processId = 0;
    int failure = ECHILD;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd ready{pipe, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            break;
        }
        int message[2];
        const ssize_t got = ::read(pipe, message, sizeof message);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != static_cast<ssize_t>(sizeof message)) {
            break;
        }
        if (message[0] == Started) {
            processId = message[1];
        } else {
            failure = message[1];
            if (message[0] == ExecFailed) {
                return -failure;
            }
        }
    }
    return processId > 0 ? processId : -failure;
}

long launch(const ShellCommand& command, const std::string& program,
            const std::vector<std::string>& programArguments) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return -errno;
    }
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);
    const std::vector<char*> arguments = nullTerminated(programArguments);
    const std::vector<char*> environment = nullTerminated(command.environment);
    const char* folder = command.workingFolder.empty() ? "/" : command.workingFolder.c_str();
    const pid_t middle = ::fork();
    if (middle < 0) {
        return -errno;
    }
    if (middle == 0) {
        runMiddle(program.c_str(), arguments.data(), environment.data(), folder, writeEnd.get());
    }
    writeEnd.close();
    waitForExit(middle);
    return readLaunchReport(readEnd.get());
}

long start(const ShellCommand& command, std::string_view cgroupText) {
    const ProgramFile program = findProgram(command);
    if (program.error != 0) {
        return -program.error;
    }
    const ShellScope scope = ShellScope::forProcess(cgroupText, command.environment);
    return launch(command, scope.program(program.path), scope.arguments(command, program.path));
}

int failureCode(int error) {
    switch (error) {
        case ENOENT:
            return 2;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return 3;
        case EACCES:
        case EPERM:
            return 5;
        case ENOMEM:
        case EAGAIN:
            return 8;
        case ENOEXEC:
            return 11;
        default:
            return 0;
    }
}

}  // namespace

std::optional<ShellCommand> ShellLauncher::commandOf(long processId) {
    ShellCommand command;
    if (!readShellCommand(processId, command)) {
        return std::nullopt;
    }
    return command;
}

void ShellLauncher::adopt(const std::vector<ShellCommand>& commands) {
    for (const ShellCommand& command : commands) {
        const bool known =
            std::any_of(m_commands.begin(), m_commands.end(),
                        [&](const auto& other) { return other.arguments == command.arguments; });
        if (!known) {
            m_commands.push_back(command);
        }
    }
}

int ShellLauncher::startAll() {
    if (m_commands.empty()) {
        return NothingToStart;
    }
    long firstStarted = 0;
    int firstFailure = -1;
    std::vector<ShellCommand> failed;
    const std::string cgroupText = readProcFile(::getpid(), "cgroup");
    for (ShellCommand& command : m_commands) {
        const long result = start(command, cgroupText);
        if (result > 0) {
            firstStarted = firstStarted != 0 ? firstStarted : result;
        } else {
            firstFailure =
                firstFailure >= 0 ? firstFailure : failureCode(static_cast<int>(-result));
            failed.push_back(std::move(command));
        }
    }
    m_commands = std::move(failed);
    return firstStarted != 0 ? static_cast<int>(std::max(firstStarted, LowestSuccess))
                             : firstFailure;
}

}  // namespace plintor
