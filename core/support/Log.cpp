#include "core/support/Log.h"

#include <ctime>

#include "core/support/Clock.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/LogFile.h"
#include "core/support/TextCodec.h"

namespace plintor {

namespace {

// Set once at start; before that the program's log writes nowhere.
TLogWriter TheProgramLog{"", SystemClock()};

constexpr std::string_view CRLF = "\r\n";

void AppendLineEndIfMissing(std::string& text) {
    if (!text.ends_with(CRLF)) {
        text += CRLF;
    }
}

std::string ComposeEntry(std::string_view text, TDateTime now, bool stamped, bool entryForm) {
    std::string composed;
    if (stamped) {
        composed = LogTimeStamp(now);
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

bool TLogWriter::Write(std::string_view text, std::int64_t maxSize, bool stamped,
                       bool entryForm) const {
    if (FFileName.empty()) {
        return false;
    }
    try {
        const std::string composed = ComposeEntry(text, FClock->Now(), stamped, entryForm);
        return AppendToLogFile(FFileName, composed,
                               static_cast<std::int64_t>(Utf16Length(composed)), maxSize);
    } catch (...) {
        return false;
    }
}

bool TLogWriter::Plain(std::string_view text, std::int64_t maxSize) const {
    return Write(text, maxSize, false, false);
}

bool TLogWriter::Stamped(std::string_view text, std::int64_t maxSize) const {
    return Write(text, maxSize, true, false);
}

bool TLogWriter::Entry(std::string_view text, std::int64_t maxSize) const {
    return Write(text, maxSize, true, true);
}

bool TLogWriter::Exception(const std::exception& error, std::int64_t maxSize) const {
    try {
        return Entry(ExceptionClassName(error) + ": " + error.what(), maxSize);
    } catch (...) {
        return false;
    }
}

void StartProgramLog(const std::string& fileName, const IClock& clock) {
    TheProgramLog = TLogWriter(fileName, clock);
}

const TLogWriter& ProgramLog() {
    return TheProgramLog;
}

bool LogPlain(std::string_view text) {
    return TheProgramLog.Plain(text);
}

bool LogStamped(std::string_view text) {
    return TheProgramLog.Stamped(text);
}

bool LogEntry(std::string_view text) {
    return TheProgramLog.Entry(text);
}

bool LogException(const std::exception& error) {
    return TheProgramLog.Exception(error);
}

}  // namespace plintor
