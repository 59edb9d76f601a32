#pragma once

#include <vector>

#include "core/lockdown/KeyTable.h"

namespace plintor {

// Between X keysyms and the virtual keys of the lockdown's key table.
VirtualKey virtualKeyOfKeysym(unsigned long keysym);
std::vector<unsigned long> keysymsOfVirtualKey(VirtualKey key);

}  // namespace plintor
