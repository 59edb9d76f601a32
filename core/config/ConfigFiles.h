#pragma once

#include <string>

namespace plintor {

// The operator's files, relative to the program's folder (the current directory).
constexpr const char* WhitelistFileName = "Whitelist.txt";
constexpr const char* BlacklistFileName = "Blacklist.txt";

std::string ConfigFileName(const std::string& programBaseName);  // "<base>.ini"

// The operator's default copy of a file: "_Default" before the extension.
std::string DefaultCopyName(const std::string& fileName);

// Puts each default copy in place where its working file is missing; never overwrites.
void CopyDefaultFiles(const std::string& programBaseName);

// The file that would be read once the default copies were in place, without copying:
// the working file, else its default copy when only that exists.
std::string WorkingOrDefault(const std::string& fileName);

}  // namespace plintor
