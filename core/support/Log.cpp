#include "core/support/Log.h"

#include <ctime>
#include <mutex>
#include <utility>

#include "core/support/Clock.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/LogFile.h"

namespace plintor {

namespace {

// Set once at start; before that the program's log writes nowhere.
LogWriter TheProgramLog{"", systemClock()};
std::unique_ptr<LogMirror> TheProgramLogMirror;

constexpr std::string_view CRLF = "\r\n";

void appendLineEndIfMissing(std::string& text) {
    if (!text.ends_with(CRLF)) {
        text += CRLF;
    }
}

// The caller's own line end is the entry's, not part of its text.
std::string composeEntry(std::string_view text, LocalTime now, bool stamped, bool entryForm) {
    std::string composed;
    if (stamped) {
        composed = logTimeStamp(now);
        composed += entryForm ? CRLF : std::string_view("  ");
    }
    composed += loggedText(text);
    appendLineEndIfMissing(composed);
    if (entryForm) {
        composed += CRLF;
    }
    return composed;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool breaksOrReordersLines(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// The character that starts at `text[at]` and its length in bytes; a byte that starts no
// well-formed character of up to three bytes (the longest of those escaped) is taken alone.
std::pair<char32_t, std::size_t> characterAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size() && isContinuation(byte(1))) {
        return {static_cast<char32_t>(((lead & 0x1F) << 6) | (byte(1) & 0x3F)), 2};
    }
    if (lead >= 0xE0 && lead <= 0xEF && at + 2 < text.size() && isContinuation(byte(1)) &&
        isContinuation(byte(2))) {
        return {static_cast<char32_t>(((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) |
                                      (byte(2) & 0x3F)),
                3};
    }
    return {lead < 0x80 ? lead : 0xFFFD, 1};
}

std::string formatTime(const char* format, const std::tm& moment) {
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &moment);
    return std::string(buffer, length);
}

}  // namespace

std::string loggedText(std::string_view text) {
    const bool endsLine = text.ends_with(CRLF);
    return boundedLogText(escapedLogText(endsLine ? text.substr(0, text.size() - 2) : text));
}

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

std::string escapedLogText(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto [character, length] = characterAt(text, at);
        if (text.substr(at, 2) == CRLF) {
            escaped += CRLF;
            at += 2;
            continue;
        }
        if (breaksOrReordersLines(character)) {
            escaped += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) {
                escaped += Hex[(character >> shift) & 0xF];
            }
        } else {
            escaped.append(text.substr(at, length));
        }
        at += length;
    }
    return escaped;
}

std::string logTimeStamp(LocalTime moment) {
    const DateTimeParts parts = partsOf(moment);
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
        const bool written = appendToLogFile(m_fileName, composed, maxSize);
        if (m_mirror != nullptr) {
            if (const std::string logged = loggedText(text); !logged.empty()) {
                m_mirror->mirror(logged);
            }
        }
        return written;
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
        return entry(exceptionText(error), maxSize);
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

void mirrorProgramLog(std::unique_ptr<LogMirror> mirror) {
    TheProgramLog.setMirror(mirror.get());
    TheProgramLogMirror = std::move(mirror);
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
