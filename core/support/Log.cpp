#include "core/support/Log.h"

#include <ctime>
#include <mutex>

#include "core/support/Clock.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/LogFile.h"
#include "core/support/TextCodec.h"

namespace plintor {

namespace {

// Set once at start; before that the program's log writes nowhere.
LogWriter TheProgramLog{"", systemClock()};

constexpr std::string_view CRLF = "\r\n";

void appendLineEndIfMissing(std::string& text) {
    if (!text.ends_with(CRLF)) {
        text += CRLF;
    }
}

std::string composeEntry(std::string_view text, DateTime now, bool stamped, bool entryForm) {
    std::string composed;
    if (stamped) {
        composed = logTimeStamp(now);
        composed += entryForm ? CRLF : std::string_view("  ");
    }
    composed += boundedLogText(text);
    appendLineEndIfMissing(composed);
    if (entryForm) {
        composed += CRLF;
    }
    return composed;
}

std::string formatTime(const char* format, const std::tm& moment) {
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &moment);
    return std::string(buffer, length);
}

}  // namespace

std::string logFileNameFor(const std::string& programPath, const std::string& homeFolder) {
    if (homeFolder.empty()) {
        return changeFileExt(programPath, ".log");
    }
    return withTrailingDelimiter(homeFolder) + programBaseName(programPath) + ".log";
}

std::string boundedLogText(std::string_view text) {
    if (text.size() <= MaxLogEntryText) {
        return std::string(text);
    }
    std::size_t cut = MaxLogEntryText;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 sequence
    }
    return std::string(text.substr(0, cut)) + "\xE2\x80\xA6";
}

std::string logTimeStamp(DateTime moment) {
    const DateTimeParts parts = decodeDateTime(moment);
    std::tm local{};
    local.tm_year = parts.year - 1900;
    local.tm_mon = parts.month - 1;
    local.tm_mday = parts.day;
    local.tm_hour = parts.hour;
    local.tm_min = parts.minute;
    local.tm_sec = parts.second;
    local.tm_isdst = -1;
    std::tm normalised = local;
    std::mktime(&normalised);  // fills the day of the week that some date formats show
    local.tm_wday = normalised.tm_wday;
    local.tm_yday = normalised.tm_yday;
    std::string stamp = formatTime("%x", local);
    const bool midnight =
        parts.hour == 0 && parts.minute == 0 && parts.second == 0 && parts.millisecond == 0;
    if (!midnight) {
        stamp += ' ';
        stamp += formatTime("%X", local);
    }
    return stamp;
}

bool LogWriter::write(std::string_view text, std::int64_t maxSize, bool stamped,
                      bool entryForm) const {
    if (m_fileName.empty()) {
        return false;
    }
    // The lists are read on a thread of their own at start, and report from there.
    static std::mutex oneWriterAtATime;
    const std::lock_guard<std::mutex> lock(oneWriterAtATime);
    try {
        const std::string composed = composeEntry(text, m_clock->now(), stamped, entryForm);
        return appendToLogFile(m_fileName, composed,
                               static_cast<std::int64_t>(utf16Length(composed)), maxSize);
    } catch (...) {
        return false;
    }
}

bool LogWriter::plain(std::string_view text, std::int64_t maxSize) const {
    return write(text, maxSize, false, false);
}

bool LogWriter::stamped(std::string_view text, std::int64_t maxSize) const {
    return write(text, maxSize, true, false);
}

bool LogWriter::entry(std::string_view text, std::int64_t maxSize) const {
    return write(text, maxSize, true, true);
}

bool LogWriter::exception(const std::exception& error, std::int64_t maxSize) const {
    try {
        return entry(exceptionClassName(error) + ": " + error.what(), maxSize);
    } catch (...) {
        return false;
    }
}

void startProgramLog(const std::string& fileName, const Clock& clock) {
    TheProgramLog = LogWriter(fileName, clock);
}

const LogWriter& programLog() {
    return TheProgramLog;
}

bool logPlain(std::string_view text) {
    return TheProgramLog.plain(text);
}

bool logStamped(std::string_view text) {
    return TheProgramLog.stamped(text);
}

bool logEntry(std::string_view text) {
    return TheProgramLog.entry(text);
}

bool logException(const std::exception& error) {
    return TheProgramLog.exception(error);
}

}  // namespace plintor
