#include "core/support/FileIO.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/support/Exceptions.h"
#include "core/support/UniqueFd.h"

namespace plintor {

std::string ReadFileBytes(const std::string& fileName) {
    const TUniqueFd file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) {
        throw EFOpenError(fileName, errno);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0) {
            throw EReadError(fileName, errno);
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteFileWhole(const std::string& fileName, std::string_view bytes, unsigned int mode) {
    const std::string next = fileName + ".new";
    ::unlink(next.c_str());  // left by a run that was killed while writing
    TUniqueFd file(
        ::open(next.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    const bool whole = file.IsOpen() && WriteAll(file.Get(), bytes) && file.Close() &&
                       ::rename(next.c_str(), fileName.c_str()) == 0;
    if (!whole) {
        ::unlink(next.c_str());
    }
    return whole;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace plintor
