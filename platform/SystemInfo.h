#pragma once

#include <string>

namespace plintor {

// Facts about the running program and the machine's folders.
class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;

    // The full path of the running executable.
    virtual std::string ProgramPath() const = 0;
    // "major.minor.release.build" of a program file; empty when it carries no version.
    virtual std::string FileVersion(const std::string& filePath) const = 0;
    // The user's temporary folder, ending with a path delimiter.
    virtual std::string TempFolder() const = 0;
    // The operating system's own folder, ending with a path delimiter; empty where there is none.
    virtual std::string WindowsFolder() const = 0;
};

}  // namespace plintor
