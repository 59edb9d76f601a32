#pragma once

#include <string>

namespace plintor {

// Facts about the running program and the machine's folders.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The full path of the running executable.
    virtual std::string programPath() const = 0;
    // "major.minor.release.build" of a program file; empty when it carries no version.
    virtual std::string fileVersion(const std::string& filePath) const = 0;
    // The user's temporary folder, ending with a path delimiter.
    virtual std::string tempFolder() const = 0;
};

}  // namespace plintor
