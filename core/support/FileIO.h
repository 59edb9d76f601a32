#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The whole file; raises a FileError of kind Open when it cannot be opened, of kind Read when a
// read fails.
std::string readFileBytes(const std::string& fileName);

// Replaces the file's content by `bytes` through a new file that takes its name only when
// complete, so the file is whole or as it was. A symbolic link in its place is replaced, never
// followed. `mode` gives the new file's permissions.
bool writeFileWhole(const std::string& fileName, std::string_view bytes, unsigned int mode = 0644);
// As writeFileWhole; says why the file could not be written (the system's word for it), empty
// when it is whole.
std::string writeFileWholeOrSayWhy(const std::string& fileName, std::string_view bytes,
                                   unsigned int mode = 0644);

}  // namespace plintor
