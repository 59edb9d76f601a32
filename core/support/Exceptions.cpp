#include "core/support/Exceptions.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <typeinfo>

namespace plintor {
namespace {

std::string fileMessage(const char* what, const std::string& fileName, int errorNumber) {
    return std::string(what) + " \"" + fullPathForMessage(fileName) + "\". " +
           std::strerror(errorNumber);
}

// The unqualified name of the most derived class of the error, e.g. "bad_alloc".
std::string className(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    if (name.find('<') == std::string::npos) {
        const std::size_t qualifier = name.rfind("::");
        if (qualifier != std::string::npos) {
            name.erase(0, qualifier + 2);
        }
    }
    return name;
}

}  // namespace

FileError::FileError(Kind kind, const std::string& fileName, int errorNumber)
    : std::runtime_error(fileMessage(kind == Kind::Open ? "Cannot open file" : "Cannot read file",
                                     fileName, errorNumber)),
      m_kind(kind) {}

std::string_view FileError::name() const {
    return m_kind == Kind::Open ? "EFOpenError" : "EReadError";
}

std::string exceptionText(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const FileError*>(&error)) {
        return std::string(fileError->name()) + ": " + error.what();
    }
    return className(error) + ": " + error.what();
}

std::string fullPathForMessage(const std::string& fileName) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(fileName, ignored);
    return full.empty() ? fileName : full.lexically_normal().string();
}

}  // namespace plintor
