#include "Log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <vector>

#include "Clock.h"
#include "Exceptions.h"
#include "FileHelpers.h"
#include "FileIO.h"
#include "TextCodec.h"
#include "UniqueFd.h"

namespace plintor {

std::string LogFileName;

namespace {

constexpr std::string_view CRLF = "\r\n";

void AppendLineEndIfMissing(std::string& text) {
    if (!text.ends_with(CRLF)) {
        text += CRLF;
    }
}

std::string ComposeEntry(std::string_view text, bool stamped, bool entryForm) {
    std::string composed;
    if (stamped) {
        composed = LogTimeStamp(CurrentClock().Now());
        composed += entryForm ? CRLF : std::string_view("  ");
    }
    composed += BoundedLogText(text);
    AppendLineEndIfMissing(composed);
    if (entryForm) {
        composed += CRLF;
    }
    return composed;
}

std::string FormatTime(const char* format, const std::tm& moment) {
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &moment);
    return std::string(buffer, length);
}

TUniqueFd OpenOrCreate(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        return TUniqueFd(::open(fileName.c_str(), O_RDWR | O_CLOEXEC));
    }
    std::error_code ignored;
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ignored);
    }
    return TUniqueFd(::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

bool ReadAll(int fd, std::vector<char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Where the kept suffix of the old content starts: just after the first line end at or after
// `cut`, past any empty lines; exactly at `cut` when no line end follows it.
std::size_t KeptSuffixStart(const std::vector<char>& bytes, std::size_t cut) {
    const std::size_t size = bytes.size();
    if (cut + 1 >= size) {
        return size;
    }
    std::size_t start = cut;
    for (std::size_t q = cut; q + 1 < size; ++q) {
        if (bytes[q] == '\r' && bytes[q + 1] == '\n') {
            start = q + 2;
            break;
        }
    }
    while (start + 1 < size && bytes[start] == '\r' && bytes[start + 1] == '\n') {
        start += 2;
    }
    return start;
}

bool TrimFront(int fd, std::int64_t size, std::int64_t cut) {
    std::vector<char> bytes(static_cast<std::size_t>(size));
    if (!ReadAll(fd, bytes)) {
        return false;
    }
    const std::size_t start = KeptSuffixStart(bytes, static_cast<std::size_t>(cut));
    if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) {
        return false;
    }
    return WriteAll(fd, std::string_view(bytes.data() + start, bytes.size() - start));
}

bool AppendEntry(const std::string& fileName, std::string_view text, std::int64_t maxSize,
                 bool stamped, bool entryForm) {
    TUniqueFd file = OpenOrCreate(fileName);
    if (!file.IsOpen()) {
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        return false;
    }
    const std::int64_t size = info.st_size;
    const std::string composed = ComposeEntry(text, stamped, entryForm);
    const auto length = static_cast<std::int64_t>(Utf16Length(composed));
    if (maxSize > 0 && size + length > maxSize &&
        !TrimFront(file.Get(), size, size + length - maxSize)) {
        return false;
    }
    if (::lseek(file.Get(), 0, SEEK_END) < 0 || !WriteAll(file.Get(), composed)) {
        return false;
    }
    return file.Close();
}

}  // namespace

std::string LogFileNameFor(const std::string& programPath, const std::string& homeFolder) {
    if (homeFolder.empty()) {
        return ChangeFileExt(programPath, ".log");
    }
    return WithTrailingDelimiter(homeFolder) + ProgramBaseName(programPath) + ".log";
}

std::string BoundedLogText(std::string_view text) {
    if (text.size() <= MaxLogEntryText) {
        return std::string(text);
    }
    std::size_t cut = MaxLogEntryText;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 sequence
    }
    return std::string(text.substr(0, cut)) + "\xE2\x80\xA6";
}

std::string LogTimeStamp(TDateTime moment) {
    const TDateTimeParts parts = DecodeDateTime(moment);
    std::tm local{};
    local.tm_year = parts.Year - 1900;
    local.tm_mon = parts.Month - 1;
    local.tm_mday = parts.Day;
    local.tm_hour = parts.Hour;
    local.tm_min = parts.Minute;
    local.tm_sec = parts.Second;
    local.tm_isdst = -1;
    std::tm normalised = local;
    std::mktime(&normalised);  // fills the day of the week that some date formats show
    local.tm_wday = normalised.tm_wday;
    local.tm_yday = normalised.tm_yday;
    std::string stamp = FormatTime("%x", local);
    const bool midnight =
        parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0 && parts.Millisecond == 0;
    if (!midnight) {
        stamp += ' ';
        stamp += FormatTime("%X", local);
    }
    return stamp;
}

bool WriteLogFile(const std::string& fileName, std::string_view text, std::int64_t maxSize,
                  bool stamped, bool entryForm) {
    try {
        return AppendEntry(fileName, text, maxSize, stamped, entryForm);
    } catch (...) {
        return false;
    }
}

bool LogPlain(std::string_view text) {
    return LogPlain(LogFileName, text);
}
bool LogPlain(const std::string& fileName, std::string_view text) {
    return LogPlain(fileName, text, MaxLogSize);
}
bool LogPlain(const std::string& fileName, std::string_view text, std::int64_t maxSize) {
    return WriteLogFile(fileName, text, maxSize, false, false);
}

bool LogStamped(std::string_view text) {
    return LogStamped(LogFileName, text);
}
bool LogStamped(const std::string& fileName, std::string_view text) {
    return LogStamped(fileName, text, MaxLogSize);
}
bool LogStamped(const std::string& fileName, std::string_view text, std::int64_t maxSize) {
    return WriteLogFile(fileName, text, maxSize, true, false);
}

bool LogEntry(std::string_view text) {
    return LogEntry(LogFileName, text);
}
bool LogEntry(const std::string& fileName, std::string_view text) {
    return LogEntry(fileName, text, MaxLogSize);
}
bool LogEntry(const std::string& fileName, std::string_view text, std::int64_t maxSize) {
    return WriteLogFile(fileName, text, maxSize, true, true);
}

bool LogException(const std::exception& error) {
    return LogException(LogFileName, error);
}
bool LogException(const std::string& fileName, const std::exception& error) {
    return LogException(fileName, error, MaxLogSize);
}
bool LogException(const std::string& fileName, const std::exception& error, std::int64_t maxSize) {
    try {
        return LogEntry(fileName, ExceptionClassName(error) + ": " + error.what(), maxSize);
    } catch (...) {
        return false;
    }
}

}  // namespace plintor
