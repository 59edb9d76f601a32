#pragma once

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

// Raises EFOpenError or EReadError.
std::vector<std::string> readListFile(const std::string& fileName);

// Fills the lists from the operator's files, then allows "about:blank" and "javascript:*".
// A missing allow file is reported; a missing deny file is skipped silently; a deny file that
// is there but cannot be read (see UrlLists::blacklistUnreadable) is reported as an error; the
// warnings of listFileWarnings are reported.
void loadUrlLists(UrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, ConfigReport& report);

// Every URL button's address is allowed, whatever the list files say.
void allowNavButtonAddresses(UrlLists& lists, const std::vector<NavButton>& buttons);

}  // namespace plintor
