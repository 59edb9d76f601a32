#pragma once

#include <cstddef>
#include <string>

namespace plintor {

// The address a WM_COPYDATA carries: UTF-16 text read only within its `bytes`, up to the first
// NUL; a sender that leaves out the terminator still gets its whole text read, and nothing
// beyond the data is ever touched. Returned as UTF-8.
std::string copyDataText(const void* data, std::size_t bytes);

}  // namespace plintor
