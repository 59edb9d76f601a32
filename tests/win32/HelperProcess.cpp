#include "tests/win32/HelperProcess.h"

#include <windows.h>

#include "platform/win32/SystemFolders.h"
#include "platform/win32/WideText.h"

namespace plintor::test {

std::string helperPath() {
    const std::string own = runningProgramPath();
    return own.substr(0, own.find_last_of("\\/") + 1) + "TestHelper.exe";
}

UniqueHandle startHelper(const std::string& arguments) {
    std::wstring commandLine = toWide("\"" + helperPath() + "\" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return UniqueHandle();
    }
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

int waitForExit(const UniqueHandle& process, unsigned timeLimitMs) {
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.get(), timeLimitMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &exitCode)) {
        return -1;
    }
    return static_cast<int>(exitCode);
}

int runHelper(const std::string& arguments) {
    const UniqueHandle process = startHelper(arguments);
    return process.isValid() ? waitForExit(process, 30000) : -2;
}

bool waitForWindowClass(const std::string& className, unsigned timeLimitMs) {
    const ULONGLONG end = GetTickCount64() + timeLimitMs;
    while (FindWindowW(toWide(className).c_str(), nullptr) == nullptr) {
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

void pumpMessagesFor(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace plintor::test
