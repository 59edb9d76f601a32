// The core's files and clock on POSIX systems.
#include "core/support/SystemFiles.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace plintor {
namespace {

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

int openFlags(SystemFile::OpenMode how) {
    switch (how) {
        case SystemFile::OpenMode::Read:
            return O_RDONLY;
        case SystemFile::OpenMode::ReadWrite:
            return O_RDWR | O_CREAT;
        case SystemFile::OpenMode::CreateNew:
            return O_WRONLY | O_CREAT | O_EXCL;
        case SystemFile::OpenMode::CreateEmpty:
            break;
    }
    return O_WRONLY | O_CREAT | O_TRUNC;
}

// A fixed Unicode locale: upper-casing must not depend on the environment's LC_CTYPE.
locale_t unicodeLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l != static_cast<locale_t>(nullptr) ? l : newlocale(LC_CTYPE_MASK, "C", nullptr);
    }();
    return locale;
}

}  // namespace

// O_NONBLOCK: opening a FIFO in the file's place must not hang; it is refused below anyway.
SystemFile SystemFile::open(const std::string& fileName, OpenMode how, bool noLinks,
                            unsigned int mode) {
    const int flags = openFlags(how) | O_CLOEXEC | O_NONBLOCK | (noLinks ? O_NOFOLLOW : 0);
    const int fd = ::open(fileName.c_str(), flags, mode);
    if (fd < 0) {
        return SystemFile(-1, errno, noLinks && errno == ELOOP);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return SystemFile(-1, EINVAL, false);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return SystemFile(fd, 0, false);
}

SystemFile::SystemFile(SystemFile&& other) noexcept
    : m_handle(other.m_handle), m_error(other.m_error), m_link(other.m_link) {
    other.m_handle = -1;
}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = other.m_handle;
        m_error = other.m_error;
        m_link = other.m_link;
        other.m_handle = -1;
    }
    return *this;
}

SystemFile::~SystemFile() {
    close();
}

std::int64_t SystemFile::size() {
    struct stat info {};
    if (::fstat(fd(m_handle), &info) != 0) {
        m_error = errno;
        return -1;
    }
    return info.st_size;
}

unsigned int SystemFile::mode() {
    struct stat info {};
    return ::fstat(fd(m_handle), &info) == 0 ? info.st_mode & 07777 : 0644;
}

bool SystemFile::readAll(std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd(m_handle), buffer, sizeof buffer);
        if (n < 0) {
            m_error = errno;
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool SystemFile::readAt(std::int64_t offset, std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd(m_handle), bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n <= 0) {
            m_error = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SystemFile::writeWholeAt(std::int64_t offset, std::string_view bytes) {
    const std::int64_t sizeBefore = size();
    const ssize_t written =
        ::pwrite(fd(m_handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written == static_cast<ssize_t>(bytes.size())) {
        return true;
    }
    m_error = written < 0 ? errno : ENOSPC;
    if (sizeBefore >= 0) {
        [[maybe_unused]] const int ignored =
            ::ftruncate(fd(m_handle), static_cast<off_t>(std::max(offset, sizeBefore)));
    }
    return false;
}

bool SystemFile::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd(m_handle), bytes.data(), bytes.size());
        if (n <= 0) {
            m_error = n < 0 ? errno : ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SystemFile::truncate(std::int64_t size) {
    if (::ftruncate(fd(m_handle), static_cast<off_t>(size)) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool SystemFile::sync() {
    if (::fsync(fd(m_handle)) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool SystemFile::close() {
    if (m_handle < 0) {
        return true;
    }
    const bool closed = ::close(fd(m_handle)) == 0;
    if (!closed) {
        m_error = errno;
    }
    m_handle = -1;
    return closed;
}

bool renameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool linkFileNoReplace(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0;
}

// The folder's mode decides whether a name may go, never the file's: a read-only file is
// removed as it is, and a link is removed itself.
void removeFileForced(const std::string& fileName) {
    ::unlink(fileName.c_str());
}

bool fileExists(const std::string& fileName) {
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0;
}

std::optional<std::string> createUniqueFile(const std::string& folder, const std::string& prefix) {
    std::string name =
        folder + (folder.empty() || folder.back() == '/' ? "" : "/") + prefix + "XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return std::nullopt;
    }
    ::close(fd);
    return name;
}

std::string systemErrorText(int error) {
    return std::strerror(error);
}

char32_t upperCaseCharacter(char32_t c) {
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicodeLocale()));
}

DateTimeParts localNow() {
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
