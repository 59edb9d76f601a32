#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plintor::test {

// An archive of empty, stored entries with these names, laid out as any ZIP writer lays it out:
// local headers, the central directory, its end record.
inline std::string tinyZip(const std::vector<std::string>& names) {
    const auto put = [](std::string& out, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    std::string local;
    std::string directory;
    for (const std::string& name : names) {
        const auto offset = static_cast<std::uint32_t>(local.size());
        put(local, 0x04034b50, 4);
        local += std::string(22, '\0');  // version, flags, method, time, sizes: all zero
        put(local, static_cast<std::uint32_t>(name.size()), 2);
        put(local, 0, 2);
        local += name;
        put(directory, 0x02014b50, 4);
        directory += std::string(24, '\0');
        put(directory, static_cast<std::uint32_t>(name.size()), 2);
        directory += std::string(12, '\0');  // extra, comment, disk, attributes
        put(directory, offset, 4);
        directory += name;
    }
    std::string end;
    put(end, 0x06054b50, 4);
    put(end, 0, 4);
    put(end, static_cast<std::uint32_t>(names.size()), 2);
    put(end, static_cast<std::uint32_t>(names.size()), 2);
    put(end, static_cast<std::uint32_t>(directory.size()), 4);
    put(end, static_cast<std::uint32_t>(local.size()), 4);
    put(end, 0, 2);
    return local + directory + end;
}

}  // namespace plintor::test
