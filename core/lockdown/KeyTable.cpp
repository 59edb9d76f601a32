#include "core/lockdown/KeyTable.h"

namespace plintor {
namespace {

bool isControlLetter(VirtualKey key) {
    return key == characterKey('A') || key == characterKey('L') || key == characterKey('N') ||
           key == characterKey('O') || key == characterKey('P') || key == characterKey('S');
}

bool isArrow(VirtualKey key) {
    return key >= VirtualKey::Left && key <= VirtualKey::Down;
}

}  // namespace

bool swallowKey(VirtualKey key, bool altDown, bool controlDown) {
    if (key == VirtualKey::Escape && controlDown) {
        return true;
    }
    if ((key == VirtualKey::Tab || key == VirtualKey::Escape || key == VirtualKey::Return) &&
        altDown) {
        return true;
    }
    if (key == VirtualKey::LeftWindows || key == VirtualKey::RightWindows ||
        key == VirtualKey::Reserved5E || key == VirtualKey::Sleep) {
        return true;
    }
    if (key >= VirtualKey::F1 && key <= VirtualKey::F3) {
        return true;
    }
    if (key == VirtualKey::F4) {
        return !controlDown;
    }
    if (key >= VirtualKey::F6 && key <= VirtualKey::F12) {
        return true;
    }
    return controlDown && (isControlLetter(key) || isArrow(key));
}

}  // namespace plintor
