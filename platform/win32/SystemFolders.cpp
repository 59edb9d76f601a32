#include "platform/win32/SystemFolders.h"

#include <windows.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace plintor {
namespace {

std::string asFolder(std::wstring text) {
    text = text.substr(0, text.find(L'\0'));
    if (!text.empty() && text.back() != L'\\') {
        text += L'\\';
    }
    return toUtf8(text);
}

}  // namespace

// Long paths: the buffer grows until the whole name fits.
std::string runningProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return toUtf8(path);
        }
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}

std::string runningProgramFileName() {
    const std::string path = runningProgramPath();
    return path.substr(path.find_last_of("\\/") + 1);
}

std::string systemTempFolder() {
    wchar_t folder[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length == 0 || length > MAX_PATH + 1 ? std::string() : asFolder({folder, length});
}

std::string windowsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
    return length == 0 || length > MAX_PATH ? std::string() : asFolder({folder, length});
}

std::string fileVersionOf(const std::string& filePath) {
    const std::wstring path = toWide(filePath);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<char> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionLS));
}

}  // namespace plintor
