#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace plintor {

// File errors carry the full path and the system's reason in their message.
class EFOpenError : public std::runtime_error {
public:
    EFOpenError(const std::string& fileName, int errorNumber);
};

class EFCreateError : public std::runtime_error {
public:
    EFCreateError(const std::string& fileName, int errorNumber);
};

class EReadError : public std::runtime_error {
public:
    EReadError(const std::string& fileName, int errorNumber);
};

class EWriteError : public std::runtime_error {
public:
    EWriteError(const std::string& fileName, int errorNumber);
};

// The unqualified name of the most derived class of the error, e.g. "EFOpenError".
std::string exceptionClassName(const std::exception& error);

// The absolute form of a path, for messages; the path itself when that cannot be formed.
std::string fullPathForMessage(const std::string& fileName);

}  // namespace plintor
