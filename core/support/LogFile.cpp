#include "core/support/LogFile.h"

#include <filesystem>
#include <iostream>

#include "core/support/FileIO.h"
#include "core/support/SystemFiles.h"

namespace plintor {
namespace {

// The last complaint on standard error, so that a log that stays unwritable is reported once.
bool ReportedUnwritable = false;

bool unwritable(const std::string& fileName, const std::string& reason) {
    if (!ReportedUnwritable) {
        std::cerr << "plintor: cannot write the log \"" << fileName << "\": " << reason
                  << "; entries are left out until it can be written\n";
        ReportedUnwritable = true;
    }
    return false;
}

// A regular file reached without following a symbolic link, created when missing.
SystemFile openLog(const std::string& fileName, std::string& problem) {
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    SystemFile file = SystemFile::open(fileName, SystemFile::OpenMode::ReadWrite, true);
    if (!file.isOpen()) {
        problem = file.isLink() ? "it is a symbolic link" : systemErrorText(file.error());
    }
    return file;
}

// The kept lines and the entry in a new file beside the log, then put in its place.
bool replaceLog(const std::string& fileName, SystemFile& log, std::string_view kept,
                std::string_view entry) {
    return writeFileWhole(fileName, std::string(kept) + std::string(entry), log.mode());
}

// Where no new file can be made beside the log (a folder the kiosk may not write, a full disk),
// the kept lines and the entry are written after the old log first, where a failed write is
// cut off again and loses nothing; only then over the front, and the rest is cut off. A kill
// half-way leaves old lines twice, never an empty log; a disk too full for them leaves the old
// log whole, without the entry.
bool trimInPlace(SystemFile& log, std::int64_t size, std::string_view kept,
                 std::string_view entry) {
    const std::string content = std::string(kept) + std::string(entry);
    return log.writeWholeAt(size, content) && log.writeWholeAt(0, content) &&
           log.truncate(static_cast<std::int64_t>(content.size()));
}

bool trimAndAppend(const std::string& fileName, SystemFile& log, std::int64_t size,
                   std::int64_t cut, std::string_view entry) {
    std::string tail(static_cast<std::size_t>(size - cut), '\0');
    if (!log.readAt(cut, tail)) {
        return false;
    }
    const std::string_view kept = std::string_view(tail).substr(keptTailStart(tail));
    return replaceLog(fileName, log, kept, entry) || trimInPlace(log, size, kept, entry);
}

}  // namespace

std::size_t keptTailStart(std::string_view tail) {
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

bool appendToLogFile(const std::string& fileName, std::string_view entry, std::int64_t maxSize) {
    std::string problem;
    SystemFile log = openLog(fileName, problem);
    if (!log.isOpen()) {
        return unwritable(fileName, problem);
    }
    const std::int64_t size = log.size();
    const auto length = static_cast<std::int64_t>(entry.size());
    const bool written =
        size >= 0 && (maxSize > 0 && size + length > maxSize
                          ? trimAndAppend(fileName, log, size, size + length - maxSize, entry)
                          : log.writeWholeAt(size, entry));
    if (!written) {
        return unwritable(fileName, systemErrorText(log.error()));
    }
    ReportedUnwritable = false;
    return true;
}

}  // namespace plintor
