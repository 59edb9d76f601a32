#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "core/support/Clock.h"
#include "core/support/DateTime.h"

namespace plintor {

constexpr std::int64_t MaxLogSize = 102400;

// An entry's text is cut to this many bytes (and ends in "…") before it is written, so that no
// single entry, such as an address with a huge query, can push the log's history out.
constexpr std::size_t MaxLogEntryText = 4096;

// The text as an entry holds it: whole when short enough, else cut at a character boundary.
std::string BoundedLogText(std::string_view text);

// "<short date> <long time>" in the user's regional settings; the time is left out at midnight.
std::string LogTimeStamp(TDateTime moment);

// The program's path with its extension replaced by ".log"; with a home folder, that folder
// holds the log under the program's base name.
std::string LogFileNameFor(const std::string& programPath, const std::string& homeFolder);

// Writes one log file: plain lines, stamped lines ("<stamp>  <text>") and entries ("<stamp>",
// the text, an empty line), each trimming whole lines from the front so the file stays near
// `maxSize` (0: no cap). Never raises; false when nothing was written.
class TLogWriter {
public:
    TLogWriter(std::string fileName, const IClock& clock)
        : FFileName(std::move(fileName)), FClock(&clock) {}

    bool Plain(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    bool Stamped(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    bool Entry(std::string_view text, std::int64_t maxSize = MaxLogSize) const;
    // The exception's unqualified class name, ": " and its message, as an entry.
    bool Exception(const std::exception& error, std::int64_t maxSize = MaxLogSize) const;

    const std::string& FileName() const { return FFileName; }
    const IClock& Clock() const { return *FClock; }

private:
    bool Write(std::string_view text, std::int64_t maxSize, bool stamped, bool entryForm) const;

    std::string FFileName;
    const IClock* FClock;
};

// The program's own log: logging from anywhere is its point, so it is the one process-wide
// object. It writes nowhere until the program names its file at start.
void StartProgramLog(const std::string& fileName, const IClock& clock);
// The program's log; it writes nowhere before StartProgramLog.
const TLogWriter& ProgramLog();

bool LogPlain(std::string_view text);
bool LogStamped(std::string_view text);
bool LogEntry(std::string_view text);
bool LogException(const std::exception& error);

}  // namespace plintor
