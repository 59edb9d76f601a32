// The session's input languages are the thread's keyboard layouts (input-locale handles); key
// captions come from the active layout, key strokes are sent as scan codes so that the active
// layout decides what they type.
#include <windows.h>

#include <memory>
#include <vector>

#include "core/support/TextCase.h"
#include "platform/KeyboardSystem.h"
#include "platform/win32/KeyScanCodes.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr int MaxLayouts = 256;
constexpr UINT ActivateForProcess = KLF_ACTIVATE | KLF_SETFORPROCESS;  // 0x101
constexpr UINT KeepKeyboardState = 0x4;  // ToUnicodeEx: a dead key leaves no state behind

// Input-locale handles are 32-bit values sign-extended into a pointer.
HKL layoutOf(std::uint32_t handle) {
    return reinterpret_cast<HKL>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

std::uint32_t handleOf(HKL layout) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(layout));
}

// Empty when the query fails.
std::string localeText(std::uint32_t handle, LCTYPE what) {
    const LCID locale = MAKELCID(LOWORD(handle), SORT_DEFAULT);
    wchar_t text[128] = {};
    const int length = GetLocaleInfoW(locale, what, text, 128);
    return length > 1 ? toUtf8(text) : std::string();
}

std::string firstUpper(std::string text) {
    if (text.empty()) {
        return text;
    }
    std::size_t first = 1;
    while (first < text.size() && (static_cast<unsigned char>(text[first]) & 0xC0) == 0x80) {
        ++first;
    }
    return upperCase(text.substr(0, first)) + text.substr(first);
}

INPUT scanInput(ScanCode scan, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = scan.code;
    input.ki.dwFlags = KEYEVENTF_SCANCODE | (scan.extended ? KEYEVENTF_EXTENDEDKEY : 0) |
                       (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

class Win32KeyboardSystem final : public KeyboardSystem {
public:
    std::vector<InputLanguage> installedLanguages() override {
        HKL layouts[MaxLayouts] = {};
        const int count = GetKeyboardLayoutList(MaxLayouts, layouts);
        std::vector<InputLanguage> languages;
        for (int i = 0; i < count; ++i) {
            const std::uint32_t handle = handleOf(layouts[i]);
            languages.push_back({handle, localeText(handle, LOCALE_SISO639LANGNAME),
                                 upperCase(localeText(handle, LOCALE_SISO3166CTRYNAME)),
                                 firstUpper(localeText(handle, LOCALE_SLANGUAGE)),
                                 firstUpper(localeText(handle, LOCALE_SNATIVELANGNAME))});
        }
        return languages;
    }

    std::uint32_t currentLanguage() override { return handleOf(GetKeyboardLayout(0)); }

    void activateLanguage(std::uint32_t handle) override {
        ActivateKeyboardLayout(layoutOf(handle), ActivateForProcess);
    }

    std::string currentLocaleName() override {
        const std::uint32_t handle = currentLanguage();
        const std::string language = localeText(handle, LOCALE_SISO639LANGNAME);
        const std::string country = localeText(handle, LOCALE_SISO3166CTRYNAME);
        return language.empty() || country.empty() ? std::string() : language + "-" + country;
    }

    std::string keyCaption(const std::string& keyName, bool shift, bool altGr) override;

    bool capsLockOn() override { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

    void typeKey(const std::string& keyName, bool shift, bool altGr) override;
};

std::string Win32KeyboardSystem::keyCaption(const std::string& keyName, bool shift, bool altGr) {
    const std::optional<ScanCode> scan = scanCodeOfKey(keyName);
    if (!scan) {
        return {};
    }
    const HKL layout = GetKeyboardLayout(0);
    const UINT code = scan->extended ? 0xE000u | scan->code : scan->code;
    const UINT virtualKey = MapVirtualKeyExW(code, MAPVK_VSC_TO_VK_EX, layout);
    if (virtualKey == 0) {
        return {};
    }
    BYTE state[256] = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = state[VK_MENU] = altGr ? 0x80 : 0;
    state[VK_CAPITAL] = capsLockOn() ? 0x01 : 0;
    wchar_t text[8] = {};
    const int length =
        ToUnicodeEx(virtualKey, scan->code, state, text, 8, KeepKeyboardState, layout);
    // A dead key gives its accent alone (a negative length).
    const int written = length < 0 ? 1 : length;
    const std::wstring caption(text, static_cast<std::size_t>(written > 8 ? 8 : written));
    return caption.size() == 1 && caption[0] < L' ' ? std::string() : toUtf8(caption);
}

void Win32KeyboardSystem::typeKey(const std::string& keyName, bool shift, bool altGr) {
    const std::optional<ScanCode> scan = scanCodeOfKey(keyName);
    if (!scan) {
        return;
    }
    const ScanCode shiftKey{0x2A, false};
    const ScanCode altGrKey{0x38, true};
    std::vector<INPUT> inputs;
    if (shift) {
        inputs.push_back(scanInput(shiftKey, false));
    }
    if (altGr) {
        inputs.push_back(scanInput(altGrKey, false));
    }
    inputs.push_back(scanInput(*scan, false));
    inputs.push_back(scanInput(*scan, true));
    if (altGr) {
        inputs.push_back(scanInput(altGrKey, true));
    }
    if (shift) {
        inputs.push_back(scanInput(shiftKey, true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

std::unique_ptr<KeyboardSystem> createWin32KeyboardSystem() {
    return std::make_unique<Win32KeyboardSystem>();
}

}  // namespace plintor
