#include "platform/win32/RegistryKey.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace plintor {
namespace {

HKEY rootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            break;
    }
    return HKEY_LOCAL_MACHINE;
}

std::wstring relative(const std::string& path) {
    return toWide(!path.empty() && path.front() == '\\' ? path.substr(1) : path);
}

HKEY key(void* handle) {
    return static_cast<HKEY>(handle);
}

}  // namespace

std::optional<RegistryKey> RegistryKey::open(RegistryRoot root, const std::string& path,
                                             std::uint32_t access) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(rootKey(root), relative(path).c_str(), 0, access, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegistryKey(opened);
}

std::optional<RegistryKey> RegistryKey::create(RegistryRoot root, const std::string& path,
                                               std::uint32_t access) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(rootKey(root), relative(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegistryKey(created);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : m_key(other.m_key) {
    other.m_key = nullptr;
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        if (m_key != nullptr) {
            RegCloseKey(key(m_key));
        }
        m_key = other.m_key;
        other.m_key = nullptr;
    }
    return *this;
}

RegistryKey::~RegistryKey() {
    if (m_key != nullptr) {
        RegCloseKey(key(m_key));
    }
}

bool RegistryKey::hasValue(const std::string& name) const {
    return RegQueryValueExW(key(m_key), toWide(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::optional<std::uint32_t> RegistryKey::readDword(const std::string& name) const {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExW(key(m_key), toWide(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data) {
        return std::nullopt;
    }
    return data;
}

// The stored text need not end with a NUL: the size read bounds it, and the first NUL ends it.
std::optional<std::string> RegistryKey::readString(const std::string& name) const {
    const std::wstring valueName = toWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key(m_key), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key(m_key), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    text.resize(bytes / sizeof(wchar_t));
    return toUtf8(text.substr(0, text.find(L'\0')));
}

bool RegistryKey::writeDword(const std::string& name, std::uint32_t value) {
    const DWORD data = value;
    return RegSetValueExW(key(m_key), toWide(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool RegistryKey::writeString(const std::string& name, const std::string& value) {
    const std::wstring text = toWide(value);
    return RegSetValueExW(key(m_key), toWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryKey::deleteValue(const std::string& name) {
    return RegDeleteValueW(key(m_key), toWide(name).c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> RegistryKey::subKeyNames() const {
    std::vector<std::string> names;
    wchar_t name[256];  // the registry's longest key name is 255 characters
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name / sizeof name[0];
        const LSTATUS status =
            RegEnumKeyExW(key(m_key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            return names;
        }
        names.push_back(toUtf8({name, length}));
    }
}

bool deleteRegistryTree(RegistryRoot root, const std::string& path) {
    const LSTATUS status = RegDeleteTreeW(rootKey(root), relative(path).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace plintor
