#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/OfficeLocator.h"
#include "platform/linux/LinuxServices.h"

namespace plintor {
namespace {

bool isProgram(const std::filesystem::path& path) {
    return ::access(path.c_str(), X_OK) == 0 && !std::filesystem::is_directory(path);
}

std::string findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (isProgram(candidate)) {
            return candidate.string();
        }
    }
    return {};
}

// Where LibreOffice's own packages and the distribution put the program.
std::string findInInstallFolders() {
    std::error_code error;
    if (isProgram("/usr/lib/libreoffice/program/soffice")) {
        return "/usr/lib/libreoffice/program/soffice";
    }
    for (const auto& entry : std::filesystem::directory_iterator("/opt", error)) {
        const std::filesystem::path candidate = entry.path() / "program" / "soffice";
        if (entry.path().filename().string().starts_with("libreoffice") && isProgram(candidate)) {
            return candidate.string();
        }
    }
    return {};
}

class LinuxOfficeLocator final : public OfficeLocator {
public:
    std::string findLibreOfficePath() const override {
        for (const char* name : {"soffice", "libreoffice"}) {
            if (std::string found = findOnPath(name); !found.empty()) {
                return found;
            }
        }
        return findInInstallFolders();
    }
};

}  // namespace

std::unique_ptr<OfficeLocator> createLinuxOfficeLocator() {
    return std::make_unique<LinuxOfficeLocator>();
}

}  // namespace plintor
