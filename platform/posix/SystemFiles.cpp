// The core's files and clock on POSIX systems.
#include "core/support/SystemFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace plintor {
namespace {

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

int OpenFlags(TSystemFile::TOpen how) {
    switch (how) {
        case TSystemFile::TOpen::Read:
            return O_RDONLY;
        case TSystemFile::TOpen::ReadWrite:
            return O_RDWR | O_CREAT;
        case TSystemFile::TOpen::CreateNew:
            return O_WRONLY | O_CREAT | O_EXCL;
        case TSystemFile::TOpen::CreateEmpty:
            break;
    }
    return O_WRONLY | O_CREAT | O_TRUNC;
}

}  // namespace

// O_NONBLOCK: opening a FIFO in the file's place must not hang; it is refused below anyway.
TSystemFile TSystemFile::Open(const std::string& fileName, TOpen how, bool noLinks,
                              unsigned int mode) {
    const int flags = OpenFlags(how) | O_CLOEXEC | O_NONBLOCK | (noLinks ? O_NOFOLLOW : 0);
    const int fd = ::open(fileName.c_str(), flags, mode);
    if (fd < 0) {
        return TSystemFile(-1, errno, noLinks && errno == ELOOP);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TSystemFile(-1, EINVAL, false);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return TSystemFile(fd, 0, false);
}

TSystemFile::TSystemFile(TSystemFile&& other) noexcept
    : FHandle(other.FHandle), FError(other.FError), FLink(other.FLink) {
    other.FHandle = -1;
}

TSystemFile& TSystemFile::operator=(TSystemFile&& other) noexcept {
    if (this != &other) {
        Close();
        FHandle = other.FHandle;
        FError = other.FError;
        FLink = other.FLink;
        other.FHandle = -1;
    }
    return *this;
}

TSystemFile::~TSystemFile() {
    Close();
}

std::int64_t TSystemFile::Size() {
    struct stat info {};
    if (::fstat(Fd(FHandle), &info) != 0) {
        FError = errno;
        return -1;
    }
    return info.st_size;
}

unsigned int TSystemFile::Mode() {
    struct stat info {};
    return ::fstat(Fd(FHandle), &info) == 0 ? info.st_mode & 07777 : 0644;
}

bool TSystemFile::ReadAll(std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(Fd(FHandle), buffer, sizeof buffer);
        if (n < 0) {
            FError = errno;
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool TSystemFile::ReadAt(std::int64_t offset, std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(Fd(FHandle), bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n <= 0) {
            FError = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool TSystemFile::WriteWholeAt(std::int64_t offset, std::string_view bytes) {
    const ssize_t written =
        ::pwrite(Fd(FHandle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written == static_cast<ssize_t>(bytes.size())) {
        return true;
    }
    FError = written < 0 ? errno : ENOSPC;
    [[maybe_unused]] const int ignored = ::ftruncate(Fd(FHandle), static_cast<off_t>(offset));
    return false;
}

bool TSystemFile::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(Fd(FHandle), bytes.data(), bytes.size());
        if (n <= 0) {
            FError = n < 0 ? errno : ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TSystemFile::Truncate(std::int64_t size) {
    if (::ftruncate(Fd(FHandle), static_cast<off_t>(size)) != 0) {
        FError = errno;
        return false;
    }
    return true;
}

bool TSystemFile::Sync() {
    if (::fsync(Fd(FHandle)) != 0) {
        FError = errno;
        return false;
    }
    return true;
}

bool TSystemFile::Close() {
    if (FHandle < 0) {
        return true;
    }
    const bool closed = ::close(Fd(FHandle)) == 0;
    if (!closed) {
        FError = errno;
    }
    FHandle = -1;
    return closed;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool LinkFileNoReplace(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0;
}

void RemoveFileForced(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        ::chmod(fileName.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR);
    }
    ::unlink(fileName.c_str());
}

bool FileExists(const std::string& fileName) {
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0;
}

std::optional<std::string> CreateUniqueFile(const std::string& folder, const std::string& prefix) {
    std::string name =
        folder + (folder.empty() || folder.back() == '/' ? "" : "/") + prefix + "XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return std::nullopt;
    }
    ::close(fd);
    return name;
}

std::string SystemErrorText(int error) {
    return std::strerror(error);
}

TDateTimeParts LocalNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec > 59 ? 59 : local.tm_sec,
            static_cast<int>(now.tv_nsec / 1'000'000)};
}

}  // namespace plintor
