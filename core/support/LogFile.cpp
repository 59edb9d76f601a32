#include "core/support/LogFile.h"

#include <filesystem>
#include <iostream>

#include "core/support/FileIO.h"
#include "core/support/SystemFiles.h"

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

// A regular file reached without following a symbolic link, created when missing.
TSystemFile OpenLog(const std::string& fileName, std::string& problem) {
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    TSystemFile file = TSystemFile::Open(fileName, TSystemFile::TOpen::ReadWrite, true);
    if (!file.IsOpen()) {
        problem = file.IsLink() ? "it is a symbolic link" : SystemErrorText(file.Error());
    }
    return file;
}

// The kept lines and the entry in a new file beside the log, then put in its place.
bool ReplaceLog(const std::string& fileName, TSystemFile& log, std::string_view kept,
                std::string_view entry) {
    return WriteFileWhole(fileName, std::string(kept) + std::string(entry), log.Mode());
}

// Where no new file can be made beside the log (a folder the kiosk may not write), the kept
// lines are written over the old ones and the rest is cut off after: a kill half-way leaves
// old lines twice, never an empty log.
bool TrimInPlace(TSystemFile& log, std::string_view kept, std::string_view entry) {
    const std::string content = std::string(kept) + std::string(entry);
    return log.WriteWholeAt(0, content) && log.Truncate(static_cast<std::int64_t>(content.size()));
}

bool TrimAndAppend(const std::string& fileName, TSystemFile& log, std::int64_t size,
                   std::int64_t cut, std::string_view entry) {
    std::string tail(static_cast<std::size_t>(size - cut), '\0');
    if (!log.ReadAt(cut, tail)) {
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
    TSystemFile log = OpenLog(fileName, problem);
    if (!log.IsOpen()) {
        return Unwritable(fileName, problem);
    }
    const std::int64_t size = log.Size();
    const bool written =
        size >= 0 && (maxSize > 0 && size + length > maxSize
                          ? TrimAndAppend(fileName, log, size, size + length - maxSize, entry)
                          : log.WriteWholeAt(size, entry));
    if (!written) {
        return Unwritable(fileName, SystemErrorText(log.Error()));
    }
    ReportedUnwritable = false;
    return true;
}

}  // namespace plintor
