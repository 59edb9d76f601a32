#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "core/app/CommandLineText.h"
#include "platform/ProcessRunner.h"
#include "platform/posix/UniqueFd.h"
#include "platform/x11/LinuxServices.h"

namespace plintor {
namespace {

// The exec error of a child travels through a pipe that exec closes: an empty read means the
// program runs.
class TStartReport {
public:
    TStartReport() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            FRead = TUniqueFd(ends[0]);
            FWrite = TUniqueFd(ends[1]);
        }
    }
    void ChildFailed() {
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(FWrite.Get(), &error, sizeof error);
    }
    bool Started() {
        FWrite.Close();
        int error = 0;
        return ::read(FRead.Get(), &error, sizeof error) <= 0;
    }

private:
    TUniqueFd FRead;
    TUniqueFd FWrite;
};

[[noreturn]] void Exec(std::vector<char*>& argv, TStartReport& report) {
    ::setpgid(0, 0);  // a group of its own, so a program that starts helpers can be ended whole
    ::execvp(argv[0], argv.data());
    report.ChildFailed();
    ::_exit(127);
}

// A program nobody waits for is started from an intermediate child, so it never stays behind
// as a zombie of the kiosk.
pid_t Start(const std::vector<std::string>& arguments, bool wait, TStartReport& report) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    if (wait) {
        Exec(argv, report);
    }
    if (::fork() == 0) {
        Exec(argv, report);
    }
    ::_exit(0);
}

// True with the status when the program ended; false when the time limit passed first (the
// program's group is then ended).
bool WaitFor(pid_t pid, int timeLimitMs, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    for (;;) {
        const pid_t done =
            ::waitpid(pid, &status, timeLimitMs == IProcessRunner::NoTimeLimit ? 0 : WNOHANG);
        if (done == pid) {
            return true;
        }
        if (done < 0 && errno != EINTR) {
            return false;
        }
        if (timeLimitMs != IProcessRunner::NoTimeLimit &&
            std::chrono::steady_clock::now() >= deadline) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        if (done == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

class TPosixProcessRunner final : public IProcessRunner {
public:
    bool RunCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                        int timeLimitMs) override;
    bool RunProgram(const std::string& programFile, const std::string& parameters, bool wait,
                    int& exitCode, int timeLimitMs) override {
        return RunCommandLine(ProgramCommandLine(programFile, parameters), wait, exitCode,
                              timeLimitMs);
    }
};

bool TPosixProcessRunner::RunCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                                         int timeLimitMs) {
    exitCode = -1;
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty()) {
        return false;
    }
    TStartReport report;
    const pid_t pid = Start(arguments, wait, report);
    if (pid < 0) {
        return false;
    }
    const bool started = report.Started();
    int status = 0;
    if (!wait) {
        ::waitpid(pid, &status, 0);  // the intermediate child, gone at once
    } else if (!started) {
        ::waitpid(pid, &status, 0);
    } else if (WaitFor(pid, timeLimitMs, status) && WIFEXITED(status)) {
        exitCode = WEXITSTATUS(status);
    }
    return started;
}

}  // namespace

std::unique_ptr<IProcessRunner> CreatePosixProcessRunner() {
    return std::make_unique<TPosixProcessRunner>();
}

}  // namespace plintor
