#include "core/documents/WordContainer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace plintor {
namespace {

constexpr std::array<unsigned char, 8> Ole2Signature = {0xD0, 0xCF, 0x11, 0xE0,
                                                        0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::string_view WordPart = "word/document.xml";
constexpr std::uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr std::uint32_t DirectoryEntrySignature = 0x02014b50;
constexpr std::size_t EndOfDirectorySize = 22;
constexpr std::size_t DirectoryEntrySize = 46;
constexpr std::size_t LongestComment = 0xFFFF;

std::uint32_t little(const std::vector<char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::vector<char> readAt(std::ifstream& file, std::uint64_t offset, std::size_t size) {
    std::vector<char> bytes(size);
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(file ? size : 0);
    file.clear();
    return bytes;
}

bool startsWithOle2(std::ifstream& file) {
    const std::vector<char> head = readAt(file, 0, Ole2Signature.size());
    return head.size() == Ole2Signature.size() &&
           std::equal(head.begin(), head.end(), Ole2Signature.begin(),
                      [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

// The archive's central directory, found from its end record as a ZIP reader finds it.
std::vector<char> centralDirectory(std::ifstream& file, std::uint64_t fileSize) {
    const std::size_t tailSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, EndOfDirectorySize + LongestComment));
    const std::vector<char> tail = readAt(file, fileSize - tailSize, tailSize);
    if (tail.size() < EndOfDirectorySize) {
        return {};
    }
    for (std::size_t at = tail.size() - EndOfDirectorySize + 1; at-- > 0;) {
        if (little(tail, at, 4) != EndOfDirectorySignature) {
            continue;
        }
        const std::uint32_t size = little(tail, at + 12, 4);
        const std::uint32_t offset = little(tail, at + 16, 4);
        if (std::uint64_t{offset} + size > fileSize) {
            return {};
        }
        return readAt(file, offset, size);
    }
    return {};
}

bool directoryHolds(const std::vector<char>& directory, std::string_view name) {
    std::size_t at = 0;
    while (at + DirectoryEntrySize <= directory.size() &&
           little(directory, at, 4) == DirectoryEntrySignature) {
        const std::size_t nameSize = little(directory, at + 28, 2);
        const std::size_t extraSize = little(directory, at + 30, 2);
        const std::size_t commentSize = little(directory, at + 32, 2);
        const std::size_t nameAt = at + DirectoryEntrySize;
        if (nameAt + nameSize > directory.size()) {
            return false;
        }
        if (std::string_view(directory.data() + nameAt, nameSize) == name) {
            return true;
        }
        at = nameAt + nameSize + extraSize + commentSize;
    }
    return false;
}

}  // namespace

bool isWordContainer(const std::string& path, std::string_view extension) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return false;
    }
    const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(file.tellg(), 0));
    if (extension == ".doc") {
        return startsWithOle2(file);
    }
    return extension == ".docx" && directoryHolds(centralDirectory(file, size), WordPart);
}

}  // namespace plintor
