#include "core/lockdown/KeyTable.h"

namespace plintor {
namespace {

bool isControlLetter(std::uint32_t key) {
    return key == 'A' || key == 'L' || key == 'N' || key == 'O' || key == 'P' || key == 'S';
}

}  // namespace

bool swallowKey(std::uint32_t key, bool altDown, bool controlDown) {
    if (key == VK_ESCAPE && controlDown) {
        return true;
    }
    if ((key == VK_TAB || key == VK_ESCAPE || key == VK_RETURN) && altDown) {
        return true;
    }
    if (key == VK_LWIN || key == VK_RWIN || key == VK_RESERVED_5E || key == VK_SLEEP) {
        return true;
    }
    if (key >= VK_F1 && key <= 0x72) {
        return true;
    }
    if (key == VK_F4) {
        return !controlDown;
    }
    if (key >= 0x75 && key <= VK_F12) {
        return true;
    }
    return controlDown && (isControlLetter(key) || (key >= VK_LEFT && key <= VK_DOWN));
}

}  // namespace plintor
