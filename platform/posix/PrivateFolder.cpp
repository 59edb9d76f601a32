// Private folders on POSIX systems. Every step below the folder works on descriptors opened
// with O_NOFOLLOW, so a link planted while we remove cannot lead us out of the folder.
#include "core/support/PrivateFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

constexpr mode_t PrivateMode = 0700;

bool isPrivate(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

UniqueFd openFolder(int parent, const char* name) {
    return UniqueFd(
        ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
}

bool emptyOpenFolder(int folder);

// A folder entry goes as what it is: a folder with what is in it, anything else by its name.
bool removeEntry(int parent, const char* name) {
    if (::unlinkat(parent, name, 0) == 0 || errno == ENOENT) {
        return true;
    }
    if (errno != EISDIR && errno != EPERM) {
        return false;
    }
    const UniqueFd folder = openFolder(parent, name);
    return folder.isOpen() && emptyOpenFolder(folder.get()) &&
           (::unlinkat(parent, name, AT_REMOVEDIR) == 0 || errno == ENOENT);
}

bool emptyOpenFolder(int folder) {
    const int listing = ::dup(folder);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return false;
    }
    bool all = true;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            all = removeEntry(folder, entry->d_name) && all;
        }
    }
    ::closedir(entries);
    return all;
}

}  // namespace

FolderOwner folderOwner(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return errno == ENOENT ? FolderOwner::Missing : FolderOwner::NotOurs;
    }
    return isPrivate(info) ? FolderOwner::Ours : FolderOwner::NotOurs;
}

std::string whyNotOurs(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return errno == ENOENT ? "missing" : "not readable";
    }
    if (S_ISLNK(info.st_mode)) {
        return "a symbolic link";
    }
    if (!S_ISDIR(info.st_mode)) {
        return "not a folder";
    }
    if (info.st_uid != ::geteuid()) {
        return "owned by another user";
    }
    return (info.st_mode & 077) != 0 ? "open to other users" : "";
}

bool makePrivateFolder(const std::string& folder) {
    return ::mkdir(folder.c_str(), PrivateMode) == 0 && folderOwner(folder) == FolderOwner::Ours;
}

std::optional<std::string> makeUniquePrivateFolder(const std::string& parent,
                                                   const std::string& prefix) {
    std::string name =
        parent + (parent.empty() || parent.back() == '/' ? "" : "/") + prefix + "XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) {
        return std::nullopt;
    }
    return name;
}

bool emptyFolder(const std::string& folder) {
    const UniqueFd opened = openFolder(AT_FDCWD, folder.c_str());
    return opened.isOpen() && emptyOpenFolder(opened.get());
}

bool removeFolderTree(const std::string& folder) {
    return removeEntry(AT_FDCWD, folder.c_str());
}

std::string userTag() {
    return std::to_string(::geteuid());
}

}  // namespace plintor
