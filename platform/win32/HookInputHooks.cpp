// The input lock on Windows: a low-level keyboard hook swallows the forbidden combinations
// before any window sees them, a low-level mouse hook and a message hook (touch pointers) see
// every other input. Low-level hooks are called through the installing thread's message loop,
// so everything here runs on the user-interface thread.
#include <windows.h>

#include <functional>
#include <memory>

#include "core/lockdown/KeyTable.h"
#include "platform/InputHooks.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr DWORD AltDownFlag = 0x20;  // LLKHF_ALTDOWN
constexpr UINT32 TouchPointer = 2;   // PT_TOUCH

// The hook hands the system's virtual-key codes straight to the key table.
static_assert(virtualKeyNumber(VirtualKey::Tab) == VK_TAB);
static_assert(virtualKeyNumber(VirtualKey::Return) == VK_RETURN);
static_assert(virtualKeyNumber(VirtualKey::Escape) == VK_ESCAPE);
static_assert(virtualKeyNumber(VirtualKey::Left) == VK_LEFT);
static_assert(virtualKeyNumber(VirtualKey::Down) == VK_DOWN);
static_assert(virtualKeyNumber(VirtualKey::LeftWindows) == VK_LWIN);
static_assert(virtualKeyNumber(VirtualKey::RightWindows) == VK_RWIN);
static_assert(virtualKeyNumber(VirtualKey::Applications) == VK_APPS);
static_assert(virtualKeyNumber(VirtualKey::Sleep) == VK_SLEEP);
static_assert(virtualKeyNumber(VirtualKey::F1) == VK_F1);
static_assert(virtualKeyNumber(VirtualKey::F12) == VK_F12);
static_assert(virtualKeyNumber(VirtualKey::F24) == VK_F24);

// A hook procedure gets no context: the hooks installed last are the process's one listener.
std::function<void()>* ActivityListener = nullptr;

void reportActivity() {
    if (ActivityListener != nullptr && *ActivityListener) {
        (*ActivityListener)();
    }
}

// A key counts as down only when the high bit of its state is set: the low bit says it was
// pressed at some time since the last query, which is no reason to let Alt+F4 through.
bool keyDown(int virtualKey) {
    return (static_cast<unsigned short>(GetAsyncKeyState(virtualKey)) & 0x8000) != 0;
}

// Windows sets the event's Alt flag exactly when Alt is down; input that comes without the flag
// (Wine's injected input) is judged by Alt's key state instead.
bool altDown(const KBDLLHOOKSTRUCT& event) {
    return (event.flags & AltDownFlag) != 0 || keyDown(VK_MENU);
}

LRESULT CALLBACK keyboardProc(int code, WPARAM message, LPARAM data) {
    reportActivity();
    if (code != HC_ACTION) {
        return CallNextHookEx(nullptr, code, message, data);
    }
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (swallowKey(virtualKeyOf(event->vkCode), altDown(*event), keyDown(VK_CONTROL))) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK mouseProc(int code, WPARAM message, LPARAM data) {
    reportActivity();
    return CallNextHookEx(nullptr, code, message, data);
}

bool isPointerMessage(UINT message) {
    switch (message) {
        case 0x241:  // WM_NCPOINTERUPDATE
        case 0x242:  // WM_NCPOINTERDOWN
        case 0x243:  // WM_NCPOINTERUP
        case 0x245:  // WM_POINTERUPDATE
        case 0x246:  // WM_POINTERDOWN
        case 0x247:  // WM_POINTERUP
        case 0x249:  // WM_POINTERENTER
        case 0x24A:  // WM_POINTERLEAVE
        case 0x24B:  // WM_POINTERACTIVATE
        case 0x24C:  // WM_POINTERCAPTURECHANGED
            return true;
        default:
            return false;
    }
}

// Resolved on first use: systems without pointer messages have no GetPointerType.
bool isTouchPointer(UINT32 pointerId) {
    using GetPointerTypeFunction = BOOL(WINAPI*)(UINT32, UINT32*);
    static const auto getPointerType =
        reinterpret_cast<GetPointerTypeFunction>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetPointerType")));
    UINT32 type = 0;
    return getPointerType != nullptr && getPointerType(pointerId, &type) && type == TouchPointer;
}

// Pens, mice and touchpads do not count here; the mouse hook already sees the mouse.
LRESULT CALLBACK messageProc(int code, WPARAM removed, LPARAM data) {
    const auto* message = reinterpret_cast<const MSG*>(data);
    if (code >= 0 && isPointerMessage(message->message) &&
        isTouchPointer(LOWORD(message->wParam))) {
        reportActivity();
    }
    return CallNextHookEx(nullptr, code, removed, data);
}

class HookInputHooks final : public InputHooks {
public:
    ~HookInputHooks() override {
        remove();
        if (ActivityListener == &m_activity) {
            ActivityListener = nullptr;
        }
    }

    void onActivity(std::function<void()> activity) override { m_activity = std::move(activity); }

    bool install() override {
        ActivityListener = &m_activity;
        const HINSTANCE program = GetModuleHandleW(nullptr);
        installOne(m_keyboard, WH_KEYBOARD_LL, keyboardProc, program, 0);
        installOne(m_mouse, WH_MOUSE_LL, mouseProc, program, 0);
        installOne(m_messages, WH_GETMESSAGE, messageProc, nullptr, GetCurrentThreadId());
        return m_keyboard != nullptr && m_mouse != nullptr && m_messages != nullptr;
    }

    // A hook whose removal fails stays noted as installed.
    bool remove() override {
        for (HHOOK* hook : {&m_keyboard, &m_mouse, &m_messages}) {
            if (*hook != nullptr && UnhookWindowsHookEx(*hook)) {
                *hook = nullptr;
            }
        }
        return m_keyboard == nullptr && m_mouse == nullptr && m_messages == nullptr;
    }

    std::string shortfall() const override {
        std::string missing;
        const auto note = [&](HHOOK hook, const char* name) {
            if (hook == nullptr) {
                missing += std::string(missing.empty() ? "" : ", ") + name;
            }
        };
        note(m_keyboard, "the keyboard hook");
        note(m_mouse, "the mouse hook");
        note(m_messages, "the touch hook");
        return missing.empty() ? missing : missing + " could not be installed";
    }

    // No descriptor: the hooks are called from the thread's message loop (the toolkit's in the
    // program, processEvents elsewhere).
    int descriptor() const override { return -1; }

    void processEvents() override {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // Windows names keys by their virtual-key codes already.
    VirtualKey virtualKeyOfNativeKey(std::uint32_t nativeKey) const override {
        return nativeKey > 0 && nativeKey < 0xFF ? virtualKeyOf(nativeKey) : VirtualKey::Unknown;
    }

private:
    static void installOne(HHOOK& hook, int type, HOOKPROC procedure, HINSTANCE module,
                           DWORD thread) {
        if (hook == nullptr) {
            hook = SetWindowsHookExW(type, procedure, module, thread);
        }
    }

    std::function<void()> m_activity;
    HHOOK m_keyboard = nullptr;
    HHOOK m_mouse = nullptr;
    HHOOK m_messages = nullptr;
};

}  // namespace

std::unique_ptr<InputHooks> createHookInputHooks() {
    return std::make_unique<HookInputHooks>();
}

}  // namespace plintor
