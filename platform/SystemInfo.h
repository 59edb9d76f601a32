#pragma once

#include <cstdint>
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
    // The memory of the running program with every process it started, directly or not (the
    // browser engine's helpers), in KiB: shared pages split among their sharers, so that the
    // figure is what the kiosk costs the machine. -1 when it cannot be known.
    virtual std::int64_t processTreeMemoryKiB() const = 0;
    // Whether a library the program runs on (its file name begins with `libraryName`) was
    // replaced on disk since the program loaded it, by a package update: the program still runs
    // the old code until it starts afresh.
    virtual bool libraryReplaced(const std::string& libraryName) const = 0;
};

}  // namespace plintor
