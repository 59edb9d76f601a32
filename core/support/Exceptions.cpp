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

}  // namespace

EFOpenError::EFOpenError(const std::string& fileName, int errorNumber)
    : std::runtime_error(fileMessage("Cannot open file", fileName, errorNumber)) {}

EFCreateError::EFCreateError(const std::string& fileName, int errorNumber)
    : std::runtime_error(fileMessage("Cannot create file", fileName, errorNumber)) {}

EReadError::EReadError(const std::string& fileName, int errorNumber)
    : std::runtime_error(fileMessage("Cannot read file", fileName, errorNumber)) {}

EWriteError::EWriteError(const std::string& fileName, int errorNumber)
    : std::runtime_error(fileMessage("Cannot write file", fileName, errorNumber)) {}

std::string exceptionClassName(const std::exception& error) {
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

std::string fullPathForMessage(const std::string& fileName) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(fileName, ignored);
    return full.empty() ? fileName : full.lexically_normal().string();
}

}  // namespace plintor
