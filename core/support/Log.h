#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "core/support/Clock.h"
#include "core/support/LocalTime.h"

namespace plintor {

constexpr std::int64_t MaxLogSize = 102400;

// An entry's text is cut to this many bytes (and ends in "…") before it is written, so that no
// single entry, such as an address with a huge query, can push the log's history out.
constexpr std::size_t MaxLogEntryText = 4096;

// The text as an entry holds it: whole when short enough, else cut at a character boundary.
std::string boundedLogText(std::string_view text);

// The text with every character that would break a line for a reader of the log, or reorder
// what it shows, written as an escape ("\u2028"): control characters (C0, DEL, C1 with
// U+0085), the line and paragraph separators U+2028/U+2029 and the bidirectional controls
// (U+061C, U+200E/F, U+202A-202E, U+2066-2069). So no text that a page chose can forge or hide
// an entry. A CR LF pair stays: it is the log's own line end, which the program's multi-line
// entries use and no address can hold. Bytes that are not UTF-8 stay as they are.
std::string escapedLogText(std::string_view text);

// "<short date> <long time>" in the user's regional settings; the time is left out at midnight.
std::string logTimeStamp(LocalTime moment);

// The program's path with its extension replaced by ".log"; with a home folder, that folder
// holds the log under the program's base name.
std::string logFileNameFor(const std::string& programPath, const std::string& homeFolder);

// Another place that receives the program's log entries as they are written (the system's
// journal): each entry's text as the log file holds it, without its stamp and line end.
class LogMirror {
public:
    virtual ~LogMirror() = default;
    virtual void mirror(std::string_view text) = 0;
};

// The text of an entry as the log file holds it: without the caller's own line end, escaped
// and bounded.
std::string loggedText(std::string_view text);

// Writes one log file: plain lines, stamped lines ("<stamp>  <text>") and entries ("<stamp>",
// the text, an empty line), each trimming whole lines from the front so the file stays within
// `maxSize` bytes (0: no cap). Never raises; false when nothing was written. Safe to use from any
// thread: one write at a time in the whole process.
class LogWriter {
public:
    LogWriter(std::string fileName, const Clock& clock)
        : m_fileName(std::move(fileName)), m_clock(&clock) {}

    bool plain(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    bool stamped(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    bool entry(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    // The exception's unqualified class name, ": " and its message, as an entry.
    bool exception(const std::exception& error, std::int64_t maxSize = MaxLogSize) const;

    const std::string& fileName() const { return m_fileName; }
    const Clock& clock() const { return *m_clock; }
    // Every text written from now on also goes to `mirror` (none: to no other place).
    void setMirror(LogMirror* mirror) { m_mirror = mirror; }

private:
    bool write(std::string_view text, std::int64_t maxSize, bool stamped, bool entryForm) const;

    std::string m_fileName;
    const Clock* m_clock;
    LogMirror* m_mirror = nullptr;
};

// The program's own log: logging from anywhere is its point, so it is the one process-wide
// object. It writes nowhere until the program names its file at start.
void startProgramLog(const std::string& fileName, const Clock& clock);
// The program's log; it writes nowhere before startProgramLog.
const LogWriter& programLog();
// The program's log entries also go to `mirror` from now on, which lives as long as the log.
void mirrorProgramLog(std::unique_ptr<LogMirror> mirror);

bool logPlain(std::string_view text);
bool logStamped(std::string_view text);
bool logEntry(std::string_view text);
bool logException(const std::exception& error);

}  // namespace plintor
