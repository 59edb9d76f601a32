#include "core/support/Log.h"

#include <ctime>

#include "core/support/Clock.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/LogFile.h"
#include "core/support/TextCodec.h"

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

bool AppendEntry(const std::string& fileName, std::string_view text, std::int64_t maxSize,
                 bool stamped, bool entryForm) {
    const std::string composed = ComposeEntry(text, stamped, entryForm);
    return AppendToLogFile(fileName, composed, static_cast<std::int64_t>(Utf16Length(composed)),
                           maxSize);
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
