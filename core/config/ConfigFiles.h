#pragma once

#include <string>
#include <vector>

namespace plintor {

// The operator's files, relative to the program's folder (the current directory).
constexpr const char* WhitelistFileName = "Whitelist.txt";
constexpr const char* BlacklistFileName = "Blacklist.txt";

std::string ConfigFileName(const std::string& programBaseName);  // "<base>.ini"

// The operator's default copy of a file: "_Default" before the extension.
std::string DefaultCopyName(const std::string& fileName);

// Puts each default copy in place where its working file is missing; never overwrites. Gives
// the working files whose default copy exists but could not be copied (a full disk, a
// read-only folder): read their default copy instead (see WorkingOrDefault).
std::vector<std::string> CopyDefaultFiles(const std::string& programBaseName);

// The file that would be read once the default copies were in place, without copying:
// the working file, else its default copy when only that exists.
std::string WorkingOrDefault(const std::string& fileName);

// The files the kiosk reads at start, each its working file or else its default copy.
struct TEffectiveFiles {
    std::string Config;
    std::string Whitelist;
    std::string Blacklist;
};
TEffectiveFiles EffectiveFiles(const std::string& programBaseName);

}  // namespace plintor
