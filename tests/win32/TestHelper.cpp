// A second Windows program for the tests: what the Windows layer does to other processes
// (refusing a second claim, ending them, being refused their termination) needs one. Every mode
// ends by itself within its time limit.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr DWORD WindowLifeMs = 60000;

int claimMutex() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Plintor");
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (mutex != nullptr) {
        CloseHandle(mutex);
    }
    return existed ? 1 : 0;
}

int openForTermination(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (process == nullptr) {
        return 1;
    }
    CloseHandle(process);
    return 0;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A visible, enabled top-level window of the class, shown until the process is ended or its
// life is over.
int showWindow(const wchar_t* className, const wchar_t* title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return 2;
    }
    const ULONGLONG end = GetTickCount64() + WindowLifeMs;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return 3;
            }
            DispatchMessageW(&message);
        }
    }
    return 0;
}

// WM_COPYDATA whose data holds the text without its terminating NUL.
int sendUnterminated(const wchar_t* text) {
    HWND kiosk = FindWindowW(L"TFPlintor", nullptr);
    if (kiosk == nullptr) {
        return 1;
    }
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(std::wcslen(text) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(text);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(kiosk, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, 10000, &result)) {
        return 2;
    }
    return result == 1 ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"claim") {
        return claimMutex();
    }
    if (mode == L"open-terminate" && argc > 2) {
        return openForTermination(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    }
    if (mode == L"window" && argc > 3) {
        return showWindow(argv[2], argv[3]);
    }
    if (mode == L"exit" && argc > 2) {
        return static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    }
    if (mode == L"copydata" && argc > 2) {
        return sendUnterminated(argv[2]);
    }
    return 100;
}
