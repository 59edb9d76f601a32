#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plintor {

// Appends a composed entry to the log file, first trimming whole lines from its front so that
// the file's bytes stay within `maxSize` (0: no cap).
//
// The log never harms another file and never loses its history at once: a symbolic link or
// anything but a regular file is not written; the entry goes out in one write, and a write that
// fails is cut off again, so an entry is whole or absent; a trim writes the kept lines and the
// entry to a new file that replaces the log only when complete, and reads no more of the old
// log than it keeps. Where no new file can be made, the trim first writes them after the old
// log and only then over its front; when they do not fit there either (a full disk), the old
// log stays whole and the entry is skipped. When the log cannot be written, standard error says
// so once (until it can be written again). False when the entry was not written.
bool appendToLogFile(const std::string& fileName, std::string_view entry, std::int64_t maxSize);

// Where the kept part of a log starts when the first `cut` bytes must go: just after the first
// line end at or after `cut`, past any empty lines; exactly at `cut` when no line end follows.
// `tail` holds the log from byte `cut` on.
std::size_t keptTailStart(std::string_view tail);

}  // namespace plintor
