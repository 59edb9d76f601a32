#pragma once

#include <string_view>

namespace plintor {

// Whether a process's memory map (the text of /proc/PID/maps) holds a library whose file name
// begins with `libraryName` and whose file was deleted or replaced on disk since the process
// mapped it (a package update): the process still runs the old code.
bool mapsShowReplacedLibrary(std::string_view maps, std::string_view libraryName);

}  // namespace plintor
