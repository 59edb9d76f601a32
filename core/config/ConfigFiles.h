#pragma once

#include <string>
#include <vector>

namespace plintor {

// The operator's files, relative to the program's folder (the current directory).
constexpr const char* WhitelistFileName = "Whitelist.txt";
constexpr const char* BlacklistFileName = "Blacklist.txt";

// Where the operator's files are found: their names follow the program's base name, and a
// default copy the home folder lacks is taken from the system's folder of default copies (an
// installed program's /etc/plintor; empty for a portable program, which has only its own).
struct ConfigNames {
    std::string baseName;
    std::string systemDefaults;
};

std::string configFileName(const std::string& programBaseName);  // "<base>.ini"
// "<base>.state": the record of what the kiosk changed on the desktop (see DesktopRecord).
std::string desktopStateFileName(const std::string& programBaseName);

// The operator's default copy of a file: "_Default" before the extension.
std::string defaultCopyName(const std::string& fileName);

// The default copy of a working file: the one in the home folder, else the system's; the home
// folder's name when neither exists.
std::string defaultCopyOf(const std::string& fileName, const std::string& systemDefaults);

// Puts each default copy in place where its working file is missing; never overwrites. Gives
// the working files whose default copy exists but could not be copied (a full disk, a
// read-only folder): read their default copy instead (see workingOrDefault).
std::vector<std::string> copyDefaultFiles(const ConfigNames& names);

// The file that would be read once the default copies were in place, without copying:
// the working file, else its default copy when only that exists.
std::string workingOrDefault(const std::string& fileName, const std::string& systemDefaults);

// The files the kiosk reads at start, each its working file or else its default copy.
struct EffectiveFiles {
    std::string config;
    std::string whitelist;
    std::string blacklist;
};
EffectiveFiles effectiveFiles(const ConfigNames& names);

}  // namespace plintor
