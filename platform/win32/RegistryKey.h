#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plintor {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// Registry access masks as the Windows headers define them, so that callers outside the
// Windows headers name the exact mask they open with.
namespace registry_access {
constexpr std::uint32_t Read = 0x20019;       // KEY_READ
constexpr std::uint32_t ReadWrite = 0x2001F;  // KEY_READ | KEY_WRITE
constexpr std::uint32_t View64 = 0x100;       // KEY_WOW64_64KEY
}  // namespace registry_access

// One open registry key, closed by its owner. Paths are relative to the root; a leading
// backslash is dropped, since the registry takes none.
class RegistryKey {
public:
    // Empty when the key cannot be opened with that access.
    static std::optional<RegistryKey> open(RegistryRoot root, const std::string& path,
                                           std::uint32_t access);
    // Opens the key, creating it (and the keys above it) when missing.
    static std::optional<RegistryKey> create(RegistryRoot root, const std::string& path,
                                             std::uint32_t access);

    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    bool hasValue(const std::string& name) const;
    // Empty when the value is missing or of another type. An empty name reads the key's
    // default value.
    std::optional<std::uint32_t> readDword(const std::string& name) const;
    std::optional<std::string> readString(const std::string& name) const;
    bool writeDword(const std::string& name, std::uint32_t value);
    bool writeString(const std::string& name, const std::string& value);
    bool deleteValue(const std::string& name);
    // The names of the sub-keys in the order in which the registry enumerates them.
    std::vector<std::string> subKeyNames() const;

private:
    explicit RegistryKey(void* key) : m_key(key) {}
    void* m_key = nullptr;
};

// Removes a key with everything below it; true when it is gone.
bool deleteRegistryTree(RegistryRoot root, const std::string& path);

}  // namespace plintor
