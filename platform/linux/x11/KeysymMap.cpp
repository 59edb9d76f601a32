#include "platform/linux/x11/KeysymMap.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <utility>

namespace plintor {
namespace {

// Keys whose keysym is not simply a letter, a digit or a function key.
constexpr std::pair<unsigned long, VirtualKey> kNamedKeys[] = {
    {XK_Tab, VirtualKey::Tab},
    {XK_ISO_Left_Tab, VirtualKey::Tab},
    {XK_Return, VirtualKey::Return},
    {XK_KP_Enter, VirtualKey::Return},
    {XK_Escape, VirtualKey::Escape},
    {XK_Left, VirtualKey::Left},
    {XK_Up, VirtualKey::Up},
    {XK_Right, VirtualKey::Right},
    {XK_Down, VirtualKey::Down},
    {XK_KP_Left, VirtualKey::Left},
    {XK_KP_Up, VirtualKey::Up},
    {XK_KP_Right, VirtualKey::Right},
    {XK_KP_Down, VirtualKey::Down},
    {XK_Super_L, VirtualKey::LeftWindows},
    {XK_Super_R, VirtualKey::RightWindows},
    {XK_Menu, VirtualKey::Applications},
    {XF86XK_Sleep, VirtualKey::Sleep},
};

// Letters and digits are their upper-case characters' codes; F1 to F24 follow each other in both.
VirtualKey functionKey(unsigned long offset) {
    return virtualKeyOf(virtualKeyNumber(VirtualKey::F1) + static_cast<std::uint32_t>(offset));
}

}  // namespace

VirtualKey virtualKeyOfKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) {
        return characterKey(static_cast<char>('A' + (keysym - XK_a)));
    }
    if ((keysym >= XK_A && keysym <= XK_Z) || (keysym >= XK_0 && keysym <= XK_9)) {
        return characterKey(static_cast<char>(keysym));
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        return functionKey(keysym - XK_F1);
    }
    for (const auto& [named, key] : kNamedKeys) {
        if (named == keysym) {
            return key;
        }
    }
    return VirtualKey::Unknown;
}

std::vector<unsigned long> keysymsOfVirtualKey(VirtualKey key) {
    std::vector<unsigned long> keysyms;
    if (key >= characterKey('A') && key <= characterKey('Z')) {
        keysyms.push_back(XK_a + (virtualKeyNumber(key) - 'A'));
    } else if (key >= VirtualKey::F1 && key <= VirtualKey::F24) {
        keysyms.push_back(XK_F1 + (virtualKeyNumber(key) - virtualKeyNumber(VirtualKey::F1)));
    }
    for (const auto& [named, namedKey] : kNamedKeys) {
        if (namedKey == key) {
            keysyms.push_back(named);
        }
    }
    return keysyms;
}

}  // namespace plintor
