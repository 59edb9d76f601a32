#include "platform/win32/SessionEnd.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace plintor {

bool setPrivilege(const std::string& name, bool enable) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
        return false;
    }
    const UniqueHandle token(opened);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!LookupPrivilegeValueW(nullptr, toWide(name).c_str(), &privileges.Privileges[0].Luid)) {
        return false;
    }
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) != 0;
}

bool endWindowsSession(std::uint32_t flags) {
    setPrivilege("SeShutdownPrivilege", true);
    const bool accepted = ExitWindowsEx(flags, 0) != 0;
    setPrivilege("SeShutdownPrivilege", false);
    return accepted;
}

}  // namespace plintor
