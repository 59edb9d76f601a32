// The Windows layer against real windows under Wine (on a virtual display): the low-level
// keyboard hook fed by SendInput, the closing of other programs' windows, the shell's taskbar
// message and start, and messages from other programs to the kiosk's channel.
#include <gtest/gtest.h>
#include <windows.h>
// The process list's header needs the Windows types first.
#include <tlhelp32.h>

#include <algorithm>
#include <set>
#include <vector>

#include "core/app/KioskMessage.h"
#include "platform/Desktop.h"
#include "platform/DesktopEvents.h"
#include "platform/DesktopShell.h"
#include "platform/DisplayPower.h"
#include "platform/ForeignWindows.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/WindowStacking.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WindowsServices.h"
#include "tests/win32/HelperProcess.h"

namespace plintor {
namespace {

using test::pumpMessagesFor;
using test::startHelper;
using test::waitForExit;
using test::waitForWindowClass;

// A visible window of this process that records the key messages it receives.
class RecordingWindow {
public:
    explicit RecordingWindow(const wchar_t* className) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        m_window =
            CreateWindowExW(0, className, L"Recording", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                            300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetForegroundWindow(m_window);
        SetFocus(m_window);
    }
    ~RecordingWindow() { DestroyWindow(m_window); }

    HWND handle() const { return m_window; }
    // Virtual-key codes of the key-down messages (plain and system) that arrived.
    const std::vector<WPARAM>& keysDown() const { return m_keysDown; }
    std::vector<UINT> received;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) {
            self->received.push_back(message);
            if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
                self->m_keysDown.push_back(wParam);
            }
        }
        return message == WM_SYSKEYDOWN || message == WM_SYSCHAR || message == WM_SYSCOMMAND
                   ? 0
                   : DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<WPARAM> m_keysDown;
};

INPUT key(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses the modifiers, presses and releases the key, releases the modifiers.
void typeCombination(std::vector<WORD> modifiers, WORD virtualKey) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(key(modifier, false));
    }
    inputs.push_back(key(virtualKey, false));
    inputs.push_back(key(virtualKey, true));
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
        inputs.push_back(key(*modifier, true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pumpMessagesFor(150);
}

struct Combination {
    const char* name;
    std::vector<WORD> modifiers;
    WORD key;
    bool swallowed;
};

TEST(InputHooksTest, TableCombinationsAreSwallowedAndEveryInputCounts) {
    RecordingWindow window(L"PlintorHookTarget");
    pumpMessagesFor(300);
    const std::unique_ptr<InputHooks> hooks = createHookInputHooks();
    int activity = 0;
    hooks->onActivity([&] { ++activity; });
    ASSERT_TRUE(hooks->install()) << hooks->shortfall();
    EXPECT_EQ(hooks->shortfall(), "");

    const std::vector<Combination> combinations = {
        {"Alt+Tab", {VK_MENU}, VK_TAB, true},
        {"Control+Escape", {VK_CONTROL}, VK_ESCAPE, true},
        {"Alt+Escape", {VK_MENU}, VK_ESCAPE, true},
        {"Alt+Enter", {VK_MENU}, VK_RETURN, true},
        {"left Windows key", {}, VK_LWIN, true},
        {"F1", {}, VK_F1, true},
        {"F11", {}, VK_F11, true},
        {"Alt+F4", {VK_MENU}, VK_F4, true},
        {"Control+P", {VK_CONTROL}, 'P', true},
        {"Control+Left", {VK_CONTROL}, VK_LEFT, true},
        {"F5", {}, VK_F5, false},
        {"Escape", {}, VK_ESCAPE, false},
        {"Control+Shift+F4", {VK_CONTROL, VK_SHIFT}, VK_F4, false},
        {"Applications key", {}, VK_APPS, false},
        {"P", {}, 'P', false},
    };
    for (const Combination& combination : combinations) {
        SetForegroundWindow(window.handle());
        const std::size_t before = window.keysDown().size();
        const int activityBefore = activity;
        typeCombination(combination.modifiers, combination.key);
        const std::vector<WPARAM> arrived(window.keysDown().begin() + static_cast<long>(before),
                                          window.keysDown().end());
        const bool reached =
            std::find(arrived.begin(), arrived.end(), combination.key) != arrived.end();
        EXPECT_NE(reached, combination.swallowed) << combination.name;
        EXPECT_GT(activity, activityBefore) << combination.name << " counts as input";
    }
    EXPECT_TRUE(hooks->remove());
    const int afterRemoval = activity;
    typeCombination({}, 'P');
    EXPECT_EQ(activity, afterRemoval) << "no hook after the removal";
}

TEST(InputHooksTest, MouseInputCounts) {
    const std::unique_ptr<InputHooks> hooks = createHookInputHooks();
    int activity = 0;
    hooks->onActivity([&] { ++activity; });
    ASSERT_TRUE(hooks->install());
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = 5;
    move.mi.dy = 5;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    pumpMessagesFor(200);
    EXPECT_GT(activity, 0);
}

// Ends whatever helper a test started, should the test fail before the helper ended.
struct HelperGuard {
    UniqueHandle process;
    ~HelperGuard() {
        if (process.isValid() && waitForExit(process, 0) == -1) {
            TerminateProcess(process.get(), 9);
        }
    }
};

TEST(Win32DesktopTest, ForeignProgramIsEndedAndProtectedClassesAreSpared) {
    RecordingWindow own(L"PlintorOwnWindow");
    HelperGuard foreign{startHelper("window PlintorForeignClass Foreign")};
    HelperGuard protectedOne{startHelper("window BasicWindow Protected")};
    HelperGuard untitledTip{startHelper("window tooltips_class32 Tip")};
    ASSERT_TRUE(waitForWindowClass("PlintorForeignClass", 20000));
    ASSERT_TRUE(waitForWindowClass("BasicWindow", 20000));
    ASSERT_TRUE(waitForWindowClass("tooltips_class32", 20000));

    createWin32Desktop()->foreignWindows().closeForeignWindows();

    EXPECT_EQ(waitForExit(foreign.process, 10000), 0) << "ended with exit code 0";
    EXPECT_EQ(waitForExit(protectedOne.process, 500), -1) << "still running";
    EXPECT_EQ(waitForExit(untitledTip.process, 0), -1) << "still running";
    EXPECT_TRUE(IsWindow(own.handle())) << "the own window stays";
}

TEST(Win32DesktopTest, HiddenOrDisabledWindowsAreSpared) {
    HelperGuard foreign{startHelper("window PlintorDisabledClass Disabled")};
    ASSERT_TRUE(waitForWindowClass("PlintorDisabledClass", 20000));
    const HWND window = FindWindowW(L"PlintorDisabledClass", nullptr);
    EnableWindow(window, FALSE);
    createWin32Desktop()->foreignWindows().closeForeignWindows();
    EXPECT_EQ(waitForExit(foreign.process, 1000), -1) << "a disabled window keeps its program";
    EnableWindow(window, TRUE);
    ShowWindow(window, SW_HIDE);
    pumpMessagesFor(200);
    createWin32Desktop()->foreignWindows().closeForeignWindows();
    EXPECT_EQ(waitForExit(foreign.process, 1000), -1) << "a hidden window keeps its program";
}

TEST(Win32DesktopTest, StopShellPostsTheExitRequestToTheTaskbar) {
    RecordingWindow taskbar(L"Shell_TrayWnd");
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar.handle())
        << "the test's taskbar is the one found";
    EXPECT_TRUE(createWin32Desktop()->shell().stopShell());
    pumpMessagesFor(200);
    EXPECT_NE(std::find(taskbar.received.begin(), taskbar.received.end(), 0x5B4u),
              taskbar.received.end());
}

std::set<DWORD> explorerProcesses() {
    std::set<DWORD> found;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"explorer.exe") == 0) {
            found.insert(entry.th32ProcessID);
        }
    }
    return found;
}

TEST(Win32DesktopTest, StartShellStartsExplorer) {
    const std::set<DWORD> before = explorerProcesses();
    const int result = createWin32Desktop()->shell().startShell();
    EXPECT_GT(result, 32);
    std::set<DWORD> started;
    for (int poll = 0; poll < 100 && started.empty(); ++poll) {
        Sleep(100);
        for (DWORD process : explorerProcesses()) {
            if (!before.contains(process)) {
                started.insert(process);
            }
        }
    }
    EXPECT_FALSE(started.empty()) << "a new explorer.exe runs";
    for (DWORD process : started) {
        const UniqueHandle handle(OpenProcess(PROCESS_TERMINATE, FALSE, process));
        TerminateProcess(handle.get(), 0);
    }
}

TEST(InstanceChannelTest, CopyDataWithoutTerminatorAndRemoteQuitArrive) {
    const std::unique_ptr<InstanceChannel> channel = claimWindowInstanceChannel();
    ASSERT_NE(channel, nullptr);
    HelperGuard sender{startHelper("copydata http://library.example/")};
    std::vector<KioskMessage> messages;
    for (int poll = 0; poll < 200 && messages.empty(); ++poll) {
        for (ReceivedMessage& received : channel->receiveAll()) {
            messages.push_back(std::move(received.message));
        }
        pumpMessagesFor(50);
    }
    EXPECT_EQ(waitForExit(sender.process, 10000), 0) << "the send returned 1";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], (KioskMessage{MessageKind::CopyData, 0, 0, "http://library.example/"}));

    std::string error;
    const HWND kiosk = FindWindowW(L"TFPlintor", nullptr);
    ASSERT_NE(kiosk, nullptr);
    EXPECT_EQ(SendMessageW(kiosk, WM_QUERYENDSESSION, 0, 0), 1) << "the session may end";
    EXPECT_TRUE(sendToWindowInstance({MessageKind::RemoteQuit, 20240, -5, ""}, error)) << error;
    const std::vector<ReceivedMessage> quit = channel->receiveAll();
    ASSERT_EQ(quit.size(), 2u);
    EXPECT_EQ(quit[0].message.kind, MessageKind::QueryEndSession);
    EXPECT_EQ(quit[1].message, (KioskMessage{MessageKind::RemoteQuit, 20240, -5, ""}));
}

TEST(InstanceChannelTest, SendingWithoutAKioskSaysSo) {
    std::string error;
    EXPECT_FALSE(sendToWindowInstance({MessageKind::CopyData, 0, 0, "about:blank"}, error));
    EXPECT_EQ(error, "no kiosk is running for this user");
}

}  // namespace
}  // namespace plintor
