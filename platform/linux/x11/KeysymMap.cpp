#include "platform/linux/x11/KeysymMap.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <utility>

#include "core/lockdown/KeyTable.h"

namespace plintor {
namespace {

// Keys whose keysym is not simply a letter, a digit or a function key.
constexpr std::pair<unsigned long, std::uint32_t> kNamedKeys[] = {
    {XK_Tab, VK_TAB},         {XK_ISO_Left_Tab, VK_TAB}, {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN}, {XK_Escape, VK_ESCAPE},    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},           {XK_Right, VK_RIGHT},      {XK_Down, VK_DOWN},
    {XK_KP_Left, VK_LEFT},    {XK_KP_Up, VK_UP},         {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},    {XK_Super_L, VK_LWIN},     {XK_Super_R, VK_RWIN},
    {XK_Menu, VK_APPS},       {XF86XK_Sleep, VK_SLEEP},
};

}  // namespace

std::uint32_t virtualKeyOfKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) {
        return static_cast<std::uint32_t>('A' + (keysym - XK_a));
    }
    if ((keysym >= XK_A && keysym <= XK_Z) || (keysym >= XK_0 && keysym <= XK_9)) {
        return static_cast<std::uint32_t>(keysym);
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        return static_cast<std::uint32_t>(VK_F1 + (keysym - XK_F1));
    }
    for (const auto& [named, virtualKey] : kNamedKeys) {
        if (named == keysym) {
            return virtualKey;
        }
    }
    return 0;
}

std::vector<unsigned long> keysymsOfVirtualKey(std::uint32_t virtualKey) {
    std::vector<unsigned long> keysyms;
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        keysyms.push_back(XK_a + (virtualKey - 'A'));
    } else if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 24) {
        keysyms.push_back(XK_F1 + (virtualKey - VK_F1));
    }
    for (const auto& [named, key] : kNamedKeys) {
        if (key == virtualKey) {
            keysyms.push_back(named);
        }
    }
    return keysyms;
}

}  // namespace plintor
