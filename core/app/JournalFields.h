#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plintor {

// One field of a structured journal entry: its name (upper case) and value.
using JournalField = std::pair<std::string, std::string>;

// The kind of a log entry, for filtering a fleet's journal: the letters and spaces the entry's
// text begins with, so "BeforeNavigate: …" gives "BeforeNavigate", "Run explorer (0)" gives
// "Run explorer" and a fixed line ("Return to home page") itself. Empty when the text begins
// with neither.
std::string logEventOf(std::string_view text);

// The fields of the journal entry that goes with a log entry of `text` (as the log holds it):
// MESSAGE (its lines ended by LF alone), SYSLOG_IDENTIFIER, PLINTOR_EVENT, and where the entry
// names an address right after its kind, PLINTOR_URL (without a password) and, for a judged
// navigation, PLINTOR_ALLOWED (True or False).
std::vector<JournalField> journalFieldsOf(std::string_view text);

}  // namespace plintor
