#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plintor {

// A file that could not be opened or read. The message carries the full path and the system's
// reason.
class FileError : public std::runtime_error {
public:
    enum class Kind { Open, Read };

    FileError(Kind kind, const std::string& fileName, int errorNumber);

    Kind kind() const { return m_kind; }
    // The name the log has always given this kind of failure ("EFOpenError", "EReadError"):
    // operators' log filters look for it.
    std::string_view name() const;

private:
    Kind m_kind;
};

// The error as the log and the diagnostics show it: "<name>: <message>", where the name is a
// file error's own (see FileError::name) or the unqualified name of the error's most derived
// class.
std::string exceptionText(const std::exception& error);

// The absolute form of a path, for messages; the path itself when that cannot be formed.
std::string fullPathForMessage(const std::string& fileName);

}  // namespace plintor
