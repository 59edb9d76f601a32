#pragma once

#include <span>
#include <string>

namespace plintor {

// A file mapped read-only and shared: every process that maps the same file reads the same
// pages, and writes the owner makes through its own shared mapping are seen at once.
class MappedFile {
public:
    MappedFile() = default;
    // Maps the whole file; on failure the mapping is empty and `error` says why.
    MappedFile(const std::string& path, std::string& error);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile();

    bool isMapped() const { return m_data != nullptr; }
    std::span<const char> bytes() const { return {m_data, m_size}; }

private:
    void unmap();

    const char* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace plintor
