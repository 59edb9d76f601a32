#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/support/FileHelpers.h"
#include "core/support/MappedFiles.h"
#include "platform/SystemInfo.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/posix/ProcessTree.h"

namespace plintor {
namespace {

// Linux programs carry no version resource; the build stamps the program's own version.
class LinuxSystemInfo final : public SystemInfo {
public:
    std::string programPath() const override {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::string() : path.string();
    }

    std::string fileVersion(const std::string& filePath) const override {
        std::error_code error;
        const bool isProgram = std::filesystem::equivalent(filePath, programPath(), error);
        return isProgram && !error ? PLINTOR_VERSION : "";
    }

    // A TMPDIR that names no folder is not made: it may be a typo, or on a file system that is
    // not there yet.
    std::string tempFolder() const override {
        const char* folder = std::getenv("TMPDIR");
        std::error_code error;
        const bool usable =
            folder != nullptr && *folder != '\0' && std::filesystem::is_directory(folder, error);
        return withTrailingDelimiter(usable ? folder : "/tmp");
    }

    std::int64_t processTreeMemoryKiB() const override { return processTreePssKiB(::getpid()); }

    bool libraryReplaced(const std::string& libraryName) const override {
        std::ifstream maps("/proc/self/maps");
        const std::string text((std::istreambuf_iterator<char>(maps)),
                               std::istreambuf_iterator<char>());
        return mapsShowReplacedLibrary(text, libraryName);
    }
};

}  // namespace

std::unique_ptr<SystemInfo> createLinuxSystemInfo() {
    return std::make_unique<LinuxSystemInfo>();
}

}  // namespace plintor
