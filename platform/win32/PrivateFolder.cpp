// Private folders on Windows. The user's temporary folder is the user's own there, so a folder
// in it is ours when it is a real folder: a junction or a link in its place is not, and is never
// followed when removing.
#include "core/support/PrivateFolder.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace plintor {
namespace {

namespace fs = std::filesystem;

bool removeEntry(const fs::path& entry) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(entry, error);
    if (error) {
        return status.type() == fs::file_type::not_found;
    }
    bool all = true;
    if (status.type() == fs::file_type::directory) {
        for (const fs::directory_entry& inner : fs::directory_iterator(entry, error)) {
            all = removeEntry(inner.path()) && all;
        }
    }
    fs::permissions(entry, fs::perms::owner_write,
                    fs::perm_options::add | fs::perm_options::nofollow, error);
    return fs::remove(entry, error) && all;
}

}  // namespace

FolderOwner folderOwner(const std::string& folder) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (status.type() == fs::file_type::not_found) {
        return FolderOwner::Missing;
    }
    return status.type() == fs::file_type::directory ? FolderOwner::Ours : FolderOwner::NotOurs;
}

std::string whyNotOurs(const std::string& folder) {
    std::error_code error;
    switch (fs::symlink_status(folder, error).type()) {
        case fs::file_type::directory:
            return "";
        case fs::file_type::not_found:
            return "missing";
        case fs::file_type::symlink:
            return "a symbolic link";
        default:
            return "not a folder";
    }
}

bool makePrivateFolder(const std::string& folder) {
    std::error_code error;
    return fs::create_directory(folder, error);
}

std::optional<std::string> makeUniquePrivateFolder(const std::string& parent,
                                                   const std::string& prefix) {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            (fs::path(parent) / (prefix + std::to_string(seed() % 1000000000u))).string();
        if (makePrivateFolder(name)) {
            return name;
        }
    }
    return std::nullopt;
}

bool emptyFolder(const std::string& folder) {
    if (folderOwner(folder) != FolderOwner::Ours) {
        return false;
    }
    std::error_code error;
    bool all = true;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        all = removeEntry(entry.path()) && all;
    }
    return all && !error;
}

bool removeFolderTree(const std::string& folder) {
    return removeEntry(folder);
}

// The temporary folder is the user's own.
std::string userTag() {
    return "user";
}

}  // namespace plintor
