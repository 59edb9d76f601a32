#pragma once

#include <cstdint>

namespace plintor {

// The keys the lockdown knows, by their virtual-key codes: the numbers the Windows build gets
// from the system and the other platforms map their keys to. Letters and digits are the codes of
// their upper-case characters (see characterKey); any other number is a key the lockdown does not
// know, which no combination swallows.
enum class VirtualKey : std::uint32_t {
    Unknown = 0x00,  // where a key the lockdown does not know maps to ("None" is an X11 macro)
    Tab = 0x09,
    Return = 0x0D,
    Escape = 0x1B,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    LeftWindows = 0x5B,
    RightWindows = 0x5C,
    Applications = 0x5D,
    Reserved5E = 0x5E,
    Sleep = 0x5F,
    F1 = 0x70,
    F2 = 0x71,
    F3 = 0x72,
    F4 = 0x73,
    F5 = 0x74,
    F6 = 0x75,
    F7 = 0x76,
    F8 = 0x77,
    F9 = 0x78,
    F10 = 0x79,
    F11 = 0x7A,
    F12 = 0x7B,
    F24 = 0x87,  // F13 to F23 lie between; the lockdown leaves them alone
};

constexpr std::uint32_t virtualKeyNumber(VirtualKey key) {
    return static_cast<std::uint32_t>(key);
}

constexpr VirtualKey virtualKeyOf(std::uint32_t number) {
    return static_cast<VirtualKey>(number);
}

constexpr VirtualKey characterKey(char upperCaseOrDigit) {
    return virtualKeyOf(static_cast<unsigned char>(upperCaseOrDigit));
}

// True for the system's key combinations that never reach any window: task switching, the
// start menu, the Windows keys, the function keys but F5, the browser's shortcuts for select
// all, location, new window, open, print and save, and Control with an arrow. Key down and up
// alike; F4 passes only with Control down (Control+Shift+F4 opens the shutdown panel).
bool swallowKey(VirtualKey key, bool altDown, bool controlDown);

// Every key that some combination swallows, for platforms that must claim them up front.
constexpr VirtualKey LockdownKeys[] = {
    VirtualKey::Tab,          VirtualKey::Return,     VirtualKey::Escape, VirtualKey::Left,
    VirtualKey::Up,           VirtualKey::Right,      VirtualKey::Down,   VirtualKey::LeftWindows,
    VirtualKey::RightWindows, VirtualKey::Reserved5E, VirtualKey::Sleep,  VirtualKey::F1,
    VirtualKey::F2,           VirtualKey::F3,         VirtualKey::F4,     VirtualKey::F6,
    VirtualKey::F7,           VirtualKey::F8,         VirtualKey::F9,     VirtualKey::F10,
    VirtualKey::F11,          VirtualKey::F12,        characterKey('A'),  characterKey('L'),
    characterKey('N'),        characterKey('O'),      characterKey('P'),  characterKey('S')};

}  // namespace plintor
