#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The whole file; raises EFOpenError when it cannot be opened, EReadError when a read fails.
std::string ReadFileBytes(const std::string& fileName);

// Writes every byte at the descriptor's position, resuming after short writes.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace plintor
