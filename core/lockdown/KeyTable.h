#pragma once

#include <cstdint>

namespace plintor {

// Virtual-key codes of the keys the lockdown knows.
constexpr std::uint32_t VK_TAB = 0x09;
constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_LEFT = 0x25;
constexpr std::uint32_t VK_UP = 0x26;
constexpr std::uint32_t VK_RIGHT = 0x27;
constexpr std::uint32_t VK_DOWN = 0x28;
constexpr std::uint32_t VK_LWIN = 0x5B;
constexpr std::uint32_t VK_RWIN = 0x5C;
constexpr std::uint32_t VK_APPS = 0x5D;
constexpr std::uint32_t VK_RESERVED_5E = 0x5E;
constexpr std::uint32_t VK_SLEEP = 0x5F;
constexpr std::uint32_t VK_F1 = 0x70;
constexpr std::uint32_t VK_F4 = 0x73;
constexpr std::uint32_t VK_F5 = 0x74;
constexpr std::uint32_t VK_F12 = 0x7B;

// True for the system's key combinations that never reach any window: task switching, the
// start menu, the Windows keys, the function keys but F5, the browser's shortcuts for select
// all, location, new window, open, print and save, and Control with an arrow. Key down and up
// alike; F4 passes only with Control down (Control+Shift+F4 opens the shutdown panel).
bool swallowKey(std::uint32_t virtualKey, bool altDown, bool controlDown);

// Every key that some combination swallows, for platforms that must claim them up front.
constexpr std::uint32_t LockdownKeys[] = {VK_TAB,   VK_RETURN, VK_ESCAPE, VK_LEFT, VK_UP,
                                          VK_RIGHT, VK_DOWN,   VK_LWIN,   VK_RWIN, VK_RESERVED_5E,
                                          VK_SLEEP, 0x70,      0x71,      0x72,    0x73,
                                          0x75,     0x76,      0x77,      0x78,    0x79,
                                          0x7A,     0x7B,      'A',       'L',     'N',
                                          'O',      'P',       'S'};

}  // namespace plintor
