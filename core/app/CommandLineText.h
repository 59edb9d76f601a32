#pragma once

#include <string>
#include <vector>

namespace plintor {

// The command line that starts `programFile` with `parameters`: the file in double quotes,
// one blank, the parameters as given.
std::string programCommandLine(const std::string& programFile, const std::string& parameters);

// Splits a command line the usual Windows way: blanks separate arguments outside double
// quotes; 2n backslashes before a quote give n backslashes and the quote toggles quoting,
// 2n+1 give n backslashes and a literal quote; two quotes inside quotes give one quote; the
// program name (the first argument) takes quotes literally from one to the next.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace plintor
