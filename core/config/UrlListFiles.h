#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/UrlLists.h"
#include "core/config/ConfigReport.h"
#include "core/config/KioskSettings.h"

namespace plintor {

// The lines of a list file exactly as written: split at CR LF or LF, a lone CR dropped,
// nothing after a Ctrl-Z byte. A file with a UTF-16 byte-order mark (Windows Notepad's
// "Unicode") is decoded first, as the configuration file is; a UTF-8 mark stays part of the
// first line.
std::vector<std::string> splitListFileLines(std::string_view bytes);

// What makes a list file read otherwise than its writer surely meant: a UTF-8 byte-order mark,
// line ends of CR alone. Empty when there is nothing to say.
std::vector<std::string> listFileWarnings(const std::string& fileName, std::string_view bytes);

// A list file larger than this is not read (the limit bounds the program's memory); a line
// longer than MaskLimitBytes is no mask of anybody's and is left out, with a warning.
constexpr std::uint64_t ListFileLimitBytes = 512ULL * 1024 * 1024;
constexpr std::size_t MaskLimitBytes = 8192;

// The file's bytes as they stood over one whole read: a file rewritten in place while it is
// read is read again, a few times at most. Raises a FileError, of kind Read also for a file over
// ListFileLimitBytes and for one that never held still.
std::string readSettledListFile(const std::string& fileName);

// Raises a FileError.
std::vector<std::string> readListFile(const std::string& fileName);

// Fills the lists from the operator's files, then allows "about:blank" and "javascript:*".
// A missing allow file is reported; a missing deny file is skipped silently. A deny file that
// is there but cannot be read is reported, and its default copy `blacklistDefault` (when it
// is another file and can be read) takes its place, with a warning; when neither can be read,
// every address is denied (see UrlLists::blacklistUnreadable), reported as an error. The
// warnings of listFileWarnings are reported.
void loadUrlLists(UrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, ConfigReport& report,
                  const std::string& blacklistDefault = {});

// Every URL button's address is allowed, whatever the list files say.
void allowNavButtonAddresses(UrlLists& lists, const std::vector<NavButton>& buttons);

}  // namespace plintor
