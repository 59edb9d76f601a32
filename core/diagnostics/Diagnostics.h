#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/app/ProgramOptions.h"
#include "core/config/ConfigFiles.h"

namespace plintor {

// The operator's command-line checks. Both run in the kiosk's home folder (the current
// directory), read what the kiosk would read at start and write nothing: a missing working
// file is read from its default copy instead of being copied. Warnings go to `err`.
// `tempFolder` holds the kiosk's temporary documents, which its lists let through.

// One "Key=Value" line per setting, then one "Button=" line per URL button. Exits with 1 when
// it warned about anything, else 0.
int runCheckConfig(const ConfigNames& names, const std::string& tempFolder, std::ostream& out,
                   std::ostream& err);

// One line per address: "allowed" or "blocked", a blank, the address as given, its control
// characters escaped (terminalText).
int runCheckUrl(const ConfigNames& names, const std::string& tempFolder,
                const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err);

// --check-config or --check-url as the options say, in the home folder they name (else the
// program's own folder, from `programPath`); exit code 2 when that folder cannot be used.
int runOperatorCheck(const ProgramOptions& options, const std::string& programPath,
                     const std::string& tempFolder, std::ostream& out, std::ostream& err);

}  // namespace plintor
