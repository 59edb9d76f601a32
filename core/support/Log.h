#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "core/support/DateTime.h"

namespace plintor {

// The log file of the running program; set once at start, before anything logs.
extern std::string LogFileName;

// The program's path with its extension replaced by ".log"; with a home folder, that folder
// holds the log under the program's base name.
std::string LogFileNameFor(const std::string& programPath, const std::string& homeFolder);

constexpr std::int64_t MaxLogSize = 102400;

// An entry's text is cut to this many bytes (and ends in "…") before it is written, so that no
// single entry, such as an address with a huge query, can push the log's history out.
constexpr std::size_t MaxLogEntryText = 4096;

// The text as an entry holds it: whole when short enough, else cut at a character boundary.
std::string BoundedLogText(std::string_view text);

// Appends one entry after trimming whole lines from the front so the file stays near
// `maxSize`. Never raises; false when the entry could not be written.
bool WriteLogFile(const std::string& fileName, std::string_view text, std::int64_t maxSize,
                  bool stamped, bool entryForm);

// "<short date> <long time>" in the user's regional settings; the time is left out at midnight.
std::string LogTimeStamp(TDateTime moment);

bool LogPlain(std::string_view text);
bool LogPlain(const std::string& fileName, std::string_view text);
bool LogPlain(const std::string& fileName, std::string_view text, std::int64_t maxSize);

bool LogStamped(std::string_view text);
bool LogStamped(const std::string& fileName, std::string_view text);
bool LogStamped(const std::string& fileName, std::string_view text, std::int64_t maxSize);

bool LogEntry(std::string_view text);
bool LogEntry(const std::string& fileName, std::string_view text);
bool LogEntry(const std::string& fileName, std::string_view text, std::int64_t maxSize);

bool LogException(const std::exception& error);
bool LogException(const std::string& fileName, const std::exception& error);
bool LogException(const std::string& fileName, const std::exception& error, std::int64_t maxSize);

}  // namespace plintor
