// Programs are started into a job object of their own, so that one that outlives its time
// limit is ended together with every program it started.
#include <windows.h>

#include <memory>

#include "core/app/CommandLineText.h"
#include "platform/ProcessRunner.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
    UniqueHandle job;
};

// Handles inherited, normal priority, shown normally, no application name, environment or
// working folder of its own. Started suspended, so that it is in its job before it can start
// anything.
bool start(const std::string& commandLine, StartedProcess& started) {
    std::wstring writable = toWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &info)) {
        return false;
    }
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    started.job.reset(CreateJobObjectW(nullptr, nullptr));
    if (started.job.isValid()) {
        AssignProcessToJobObject(started.job.get(), started.process.get());
    }
    ResumeThread(started.thread.get());
    return true;
}

DWORD waitTime(int timeLimitMs) {
    return timeLimitMs == ProcessRunner::NoTimeLimit ? INFINITE : static_cast<DWORD>(timeLimitMs);
}

// The primary thread first, then the process; both within one time limit.
int waitForExit(StartedProcess& started, int timeLimitMs) {
    const ULONGLONG begin = GetTickCount64();
    if (WaitForSingleObject(started.thread.get(), waitTime(timeLimitMs)) == WAIT_OBJECT_0) {
        const ULONGLONG spent = GetTickCount64() - begin;
        const int left = timeLimitMs == ProcessRunner::NoTimeLimit
                             ? ProcessRunner::NoTimeLimit
                             : static_cast<int>(spent >= static_cast<ULONGLONG>(timeLimitMs)
                                                    ? 1
                                                    : timeLimitMs - static_cast<int>(spent));
        DWORD exitCode = 0;
        if (WaitForSingleObject(started.process.get(), waitTime(left)) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(started.process.get(), &exitCode)) {
            return static_cast<int>(exitCode);
        }
    }
    if (started.job.isValid()) {
        TerminateJobObject(started.job.get(), 1);
    } else {
        TerminateProcess(started.process.get(), 1);
    }
    WaitForSingleObject(started.process.get(), 5000);
    return -1;
}

class WindowsProcessRunner final : public ProcessRunner {
public:
    bool runCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                        int timeLimitMs) override {
        exitCode = -1;
        StartedProcess started;
        if (!start(commandLine, started)) {
            return false;
        }
        if (wait) {
            exitCode = waitForExit(started, timeLimitMs);
        }
        return true;
    }
    bool runProgram(const std::string& programFile, const std::string& parameters, bool wait,
                    int& exitCode, int timeLimitMs) override {
        return runCommandLine(programCommandLine(programFile, parameters), wait, exitCode,
                              timeLimitMs);
    }
};

}  // namespace

std::unique_ptr<ProcessRunner> createWindowsProcessRunner() {
    return std::make_unique<WindowsProcessRunner>();
}

}  // namespace plintor
