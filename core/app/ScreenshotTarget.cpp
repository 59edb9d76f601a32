#include "core/app/ScreenshotTarget.h"

#include <filesystem>
#include <system_error>

namespace plintor {

std::string screenshotTargetRefusal(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (!target.is_absolute()) {
        return "not an absolute file name";
    }
    if (!target.has_filename()) {
        return "names a folder, not a file";
    }
    std::error_code error;
    const fs::file_status folder = fs::status(target.parent_path(), error);
    if (!fs::exists(folder)) {
        return "the folder " + target.parent_path().string() + " does not exist";
    }
    if (!fs::is_directory(folder)) {
        return target.parent_path().string() + " is not a folder";
    }
    const fs::file_status file = fs::symlink_status(target, error);
    if (fs::is_symlink(file)) {
        return "a symbolic link";
    }
    if (fs::exists(file) && !fs::is_regular_file(file)) {
        return "not a regular file";
    }
    return {};
}

}  // namespace plintor
