#pragma once

#include <cstdint>
#include <vector>

namespace plintor {

// Between X keysyms and the virtual-key codes of the lockdown's key table.
std::uint32_t virtualKeyOfKeysym(unsigned long keysym);
std::vector<unsigned long> keysymsOfVirtualKey(std::uint32_t virtualKey);

}  // namespace plintor
