#include "core/support/MappedFiles.h"

namespace plintor {
namespace {

constexpr std::string_view DeletedMark = " (deleted)";

// The path is the last field of a line; it may contain blanks.
std::string_view pathOf(std::string_view line) {
    const std::size_t start = line.find('/');
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

}  // namespace

bool mapsShowReplacedLibrary(std::string_view maps, std::string_view libraryName) {
    while (!maps.empty()) {
        const std::size_t end = maps.find('\n');
        const std::string_view line = maps.substr(0, end);
        maps = end == std::string_view::npos ? std::string_view() : maps.substr(end + 1);
        std::string_view path = pathOf(line);
        if (!path.ends_with(DeletedMark)) {
            continue;
        }
        path.remove_suffix(DeletedMark.size());
        const std::string_view fileName = path.substr(path.rfind('/') + 1);
        if (fileName.starts_with(libraryName)) {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
