#include "platform/win32/ShellLaunch.h"

#include <windows.h>
// The shell's header needs the Windows types first.
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace plintor {

ShellLaunch shellLaunch(bool wow64, const std::string& windowsFolder) {
    if (wow64) {
        return {windowsFolder + "sysnative\\cmd.exe", "/c start /B explorer.exe"};
    }
    return {windowsFolder + "explorer.exe", ""};
}

// Looked up at run time: systems before XP SP2 have no IsWow64Process.
bool isWow64() {
    HMODULE kernel = LoadLibraryW(L"kernel32.dll");
    if (kernel == nullptr) {
        return false;
    }
    using IsWow64Process = BOOL(WINAPI*)(HANDLE, BOOL*);
    // Through void(*)(): the cast from FARPROC to the function's own type is then no warning.
    const auto query = reinterpret_cast<IsWow64Process>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    const bool known = query != nullptr && query(GetCurrentProcess(), &wow64);
    FreeLibrary(kernel);
    return known && wow64;
}

int startShellProgram(const ShellLaunch& launch) {
    const std::wstring file = toWide(launch.file);
    const std::wstring parameters = toWide(launch.parameters);
    const HINSTANCE result =
        ShellExecuteW(nullptr, nullptr, file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_HIDE);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace plintor
