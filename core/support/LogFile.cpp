#include "core/support/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "core/support/FileIO.h"
#include "core/support/UniqueFd.h"

namespace plintor {
namespace {

// The last complaint on standard error, so that a log that stays unwritable is reported once.
bool ReportedUnwritable = false;

bool Unwritable(const std::string& fileName, const std::string& reason) {
    if (!ReportedUnwritable) {
        std::cerr << "plintor: cannot write the log \"" << fileName << "\": " << reason
                  << "; no log is kept until it can be written\n";
        ReportedUnwritable = true;
    }
    return false;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

// A regular file reached without following a symbolic link, created when missing.
TUniqueFd OpenLog(const std::string& fileName, std::string& problem) {
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    TUniqueFd file(
        ::open(fileName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644));
    if (!file.IsOpen()) {
        problem = errno == ELOOP ? "it is a symbolic link" : ErrorText(errno);
        return TUniqueFd();
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = "it is not a regular file";
        return TUniqueFd();
    }
    return file;
}

bool ReadAt(int fd, std::int64_t offset, std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// One write for the whole entry; what a failed write left is cut off again.
bool WriteWholeAt(int fd, std::int64_t offset, std::string_view bytes) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written == static_cast<ssize_t>(bytes.size())) {
        return true;
    }
    [[maybe_unused]] const int ignored = ::ftruncate(fd, static_cast<off_t>(offset));
    return false;
}

// The kept lines and the entry in a new file beside the log, then put in its place.
bool ReplaceLog(const std::string& fileName, int log, std::string_view kept,
                std::string_view entry) {
    struct stat info {};
    const unsigned int mode = ::fstat(log, &info) == 0 ? info.st_mode & 07777 : 0644;
    return WriteFileWhole(fileName, std::string(kept) + std::string(entry), mode);
}

// Where no new file can be made beside the log (a folder the kiosk may not write), the kept
// lines are written over the old ones and the rest is cut off after: a kill half-way leaves
// old lines twice, never an empty log.
bool TrimInPlace(int log, std::string_view kept, std::string_view entry) {
    std::string content(kept);
    content += entry;
    return ::pwrite(log, content.data(), content.size(), 0) ==
               static_cast<ssize_t>(content.size()) &&
           ::ftruncate(log, static_cast<off_t>(content.size())) == 0;
}

bool TrimAndAppend(const std::string& fileName, int log, std::int64_t size, std::int64_t cut,
                   std::string_view entry) {
    std::string tail(static_cast<std::size_t>(size - cut), '\0');
    if (!ReadAt(log, cut, tail)) {
        return false;
    }
    const std::string_view kept = std::string_view(tail).substr(KeptTailStart(tail));
    return ReplaceLog(fileName, log, kept, entry) || TrimInPlace(log, kept, entry);
}

}  // namespace

std::size_t KeptTailStart(std::string_view tail) {
    if (tail.size() <= 1) {
        return tail.size();
    }
    std::size_t start = 0;
    if (const std::size_t lineEnd = tail.find("\r\n"); lineEnd != std::string_view::npos) {
        start = lineEnd + 2;
    }
    while (tail.substr(start).starts_with("\r\n")) {
        start += 2;
    }
    return start;
}

bool AppendToLogFile(const std::string& fileName, std::string_view entry, std::int64_t length,
                     std::int64_t maxSize) {
    std::string problem;
    const TUniqueFd log = OpenLog(fileName, problem);
    if (!log.IsOpen()) {
        return Unwritable(fileName, problem);
    }
    struct stat info {};
    if (::fstat(log.Get(), &info) != 0) {
        return Unwritable(fileName, ErrorText(errno));
    }
    const std::int64_t size = info.st_size;
    const bool written =
        maxSize > 0 && size + length > maxSize
            ? TrimAndAppend(fileName, log.Get(), size, size + length - maxSize, entry)
            : WriteWholeAt(log.Get(), size, entry);
    if (!written) {
        return Unwritable(fileName, ErrorText(errno));
    }
    ReportedUnwritable = false;
    return true;
}

}  // namespace plintor
