#include "browser/SharedListFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "core/browser/SharedDenyList.h"
#include "core/support/Log.h"

namespace plintor {
namespace {

constexpr const char* RootName = "plintor-deny-lists";
constexpr const char* RootLockName = ".lock";
// Another program holds the root's lock only while it makes or clears folders.
constexpr auto RootLockLimit = std::chrono::seconds(2);
constexpr auto RootLockPause = std::chrono::milliseconds(20);

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

bool lockNow(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Held while folders are made or cleared, so that no start removes a folder another start has
// made but not locked yet.
UniqueFd lockRoot(const std::string& root) {
    UniqueFd lock(::open((root + "/" + RootLockName).c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600));
    if (!lock.isOpen()) {
        throw systemError(root);
    }
    const auto limit = std::chrono::steady_clock::now() + RootLockLimit;
    while (!lockNow(lock.get())) {
        if (std::chrono::steady_clock::now() > limit) {
            throw std::runtime_error(root + " stays locked by another program");
        }
        std::this_thread::sleep_for(RootLockPause);
    }
    return lock;
}

void removeFolder(const std::string& path, int folder) {
    if (DIR* entries = ::fdopendir(::dup(folder))) {
        while (const dirent* entry = ::readdir(entries)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                ::unlinkat(folder, entry->d_name, 0);
            }
        }
        ::closedir(entries);
    }
    ::rmdir(path.c_str());
}

// The folders of programs that ended without removing theirs: their lock is free.
void removeLeftFolders(const std::string& root) {
    DIR* entries = ::opendir(root.c_str());
    if (entries == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == RootLockName) {
            continue;
        }
        const std::string path = root + "/" + name;
        const UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.isOpen() && lockNow(folder.get())) {
            removeFolder(path, folder.get());
            logEntry("Removed the deny list folder of an earlier run: " + path);
        }
    }
    ::closedir(entries);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

SharedListFolder::SharedListFolder() {
    try {
        make();
    } catch (const std::exception& error) {
        logEntry(std::string("The deny list folder cannot be made: ") + error.what());
        if (!m_path.empty() && m_folder.isOpen()) {
            removeFolder(m_path, m_folder.get());
        }
        m_path.clear();
    }
}

void SharedListFolder::make() {
    const std::string root = std::string(g_get_user_runtime_dir()) + "/" + RootName;
    if (::mkdir(root.c_str(), 0700) != 0 && errno != EEXIST) {
        throw systemError(root);
    }
    const UniqueFd rootLock = lockRoot(root);
    removeLeftFolders(root);
    std::string pattern = root + "/XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw systemError(root);
    }
    m_path = pattern;
    m_folder = UniqueFd(::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_folder.isOpen() || !lockNow(m_folder.get())) {
        throw systemError(m_path);
    }
    const UniqueFd file(::openat(m_folder.get(), SharedDenyList::GenerationFile,
                                 O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644));
    if (!file.isOpen() ||
        ::ftruncate(file.get(), static_cast<off_t>(SharedDenyList::GenerationFileSize)) != 0) {
        throw systemError(m_path + "/" + SharedDenyList::GenerationFile);
    }
    void* word = ::mmap(nullptr, SharedDenyList::GenerationFileSize, PROT_READ | PROT_WRITE,
                        MAP_SHARED, file.get(), 0);
    if (word == MAP_FAILED) {
        throw systemError(m_path + "/" + SharedDenyList::GenerationFile);
    }
    m_generation = static_cast<std::uint64_t*>(word);
}

SharedListFolder::~SharedListFolder() {
    if (m_generation != nullptr) {
        ::munmap(m_generation, SharedDenyList::GenerationFileSize);
    }
    if (!m_path.empty()) {
        removeFolder(m_path, m_folder.get());
    }
}

void SharedListFolder::removeImage(std::uint64_t generation) const {
    ::unlinkat(m_folder.get(), SharedDenyList::imageFile(generation).c_str(), 0);
}

void SharedListFolder::publish(std::string_view image) {
    if (m_generation == nullptr) {
        return;  // no folder: the web processes refuse everything already
    }
    const std::uint64_t next = m_published + 1;
    const std::string name = SharedDenyList::imageFile(next);
    const UniqueFd file(
        ::openat(m_folder.get(), name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0444));
    if (!file.isOpen() || !writeAll(file.get(), image)) {
        logEntry("The deny list cannot be handed to the web processes, every request is refused: " +
                 m_path + "/" + name + ": " + std::strerror(errno));
        removeImage(next);
    }
    // Web processes that mapped the older image keep it until they read this number.
    __atomic_store_n(m_generation, next, __ATOMIC_RELEASE);
    if (m_published != 0) {
        removeImage(m_published);
    }
    m_published = next;
}

}  // namespace plintor
