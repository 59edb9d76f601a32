#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plintor {

// One field of a structured journal entry: its name (upper case) and value.
using JournalField = std::pair<std::string, std::string>;

// The kind of a log entry, for filtering a fleet's journal: the words the entry's text begins
// with, up to the first thing that is not a word ("BeforeNavigate: …" gives "BeforeNavigate",
// "Run explorer (0)" gives "Run explorer", "Renderer ended 3 times…" gives "Renderer ended")
// or the whole of a fixed line ("Return to home page"). Empty when the text begins with no
// word.
std::string logEventOf(std::string_view text);

// The fields of the journal entry that goes with a log entry of `text` (as the log holds it):
// MESSAGE (its lines ended by LF alone), SYSLOG_IDENTIFIER, PLINTOR_EVENT, and where the entry
// names an address right after its kind, PLINTOR_URL (without a password) and, for a judged
// navigation, PLINTOR_ALLOWED (True or False).
std::vector<JournalField> journalFieldsOf(std::string_view text);

}  // namespace plintor
