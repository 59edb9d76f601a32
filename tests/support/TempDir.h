#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace plintor::test {

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        // No mkdtemp on Windows: a random name, taken only when create_directory made it.
        std::random_device seed;
        do {
            m_path = std::filesystem::temp_directory_path() /
                     ("plintor-test-" + std::to_string(seed() % 1000000000u));
        } while (!std::filesystem::create_directory(m_path));
#else
        std::string pattern =
            (std::filesystem::temp_directory_path() / "plintor-test-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
#endif
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(std::string_view name) const {
        return (m_path / name).string();
    }
    const std::filesystem::path& root() const {
        return m_path;
    }

private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::string& fileName, std::string_view bytes) {
    std::ofstream(fileName, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace plintor::test
