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
#include "platform/linux/LinuxServices.h"
#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

// The exec error of a child travels through a pipe that exec closes: an empty read means the
// program runs.
class StartReport {
public:
    StartReport() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            m_read = UniqueFd(ends[0]);
            m_write = UniqueFd(ends[1]);
        }
    }
    void childFailed() {
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(m_write.get(), &error, sizeof error);
    }
    bool started() {
        m_write.close();
        int error = 0;
        return ::read(m_read.get(), &error, sizeof error) <= 0;
    }

private:
    UniqueFd m_read;
    UniqueFd m_write;
};

[[noreturn]] void exec(std::vector<char*>& argv, StartReport& report) {
    ::setpgid(0, 0);  // a group of its own, so a program that starts helpers can be ended whole
    ::execvp(argv[0], argv.data());
    report.childFailed();
    ::_exit(127);
}

// A program nobody waits for is started from an intermediate child, so it never stays behind
// as a zombie of the kiosk.
pid_t start(const std::vector<std::string>& arguments, bool wait, StartReport& report) {
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
        exec(argv, report);
    }
    if (::fork() == 0) {
        exec(argv, report);
    }
    ::_exit(0);
}

// True with the status when the program ended; false when the time limit passed first (the
// program's group is then ended).
bool waitFor(pid_t pid, int timeLimitMs, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    for (;;) {
        const pid_t done =
            ::waitpid(pid, &status, timeLimitMs == ProcessRunner::NoTimeLimit ? 0 : WNOHANG);
        if (done == pid) {
            return true;
        }
        if (done < 0 && errno != EINTR) {
            return false;
        }
        if (timeLimitMs != ProcessRunner::NoTimeLimit &&
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

class PosixProcessRunner final : public ProcessRunner {
public:
    bool runCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                        int timeLimitMs) override;
    bool runProgram(const std::string& programFile, const std::string& parameters, bool wait,
                    int& exitCode, int timeLimitMs) override {
        return runCommandLine(programCommandLine(programFile, parameters), wait, exitCode,
                              timeLimitMs);
    }
};

bool PosixProcessRunner::runCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                                        int timeLimitMs) {
    exitCode = -1;
    const std::vector<std::string> arguments = splitCommandLine(commandLine);
    if (arguments.empty()) {
        return false;
    }
    StartReport report;
    const pid_t pid = start(arguments, wait, report);
    if (pid < 0) {
        return false;
    }
    const bool started = report.started();
    int status = 0;
    if (!wait) {
        ::waitpid(pid, &status, 0);  // the intermediate child, gone at once
    } else if (!started) {
        ::waitpid(pid, &status, 0);
    } else if (waitFor(pid, timeLimitMs, status) && WIFEXITED(status)) {
        exitCode = WEXITSTATUS(status);
    }
    return started;
}

}  // namespace

std::unique_ptr<ProcessRunner> createPosixProcessRunner() {
    return std::make_unique<PosixProcessRunner>();
}

}  // namespace plintor
