#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "core/app/ProgramOptions.h"

namespace plintor {

// What the home folder is chosen from; homeFolderFacts reads them from this process.
struct HomeFolderFacts {
    std::optional<std::string> option;   // --home=DIR
    std::string programFolder;           // the folder of the program file
    bool programFolderWritable = false;  // a new file can be made there now
    std::string installedProgramFolder;  // where the package installs the program (/usr/bin)
    std::string systemDefaults;          // the package's default copies (/etc/plintor)
    std::string xdgConfigHome;           // $XDG_CONFIG_HOME, empty when unset
    std::string userHome;                // $HOME, empty when unset
};

struct HomeFolderChoice {
    std::string folder;          // empty: none can be named (no --home, no usable variable)
    std::string systemDefaults;  // where missing default copies come from; empty when portable
    bool userConfig = false;     // the folder under the user's configuration folder
};

// A portable program (run from a writable folder of its own) keeps its files beside it. An
// installed one (in the package's program folder, or in a folder it cannot write, where a log
// could not live) uses "$XDG_CONFIG_HOME/plintor" (else "$HOME/.config/plintor") and takes
// missing default copies from the system's folder. --home=DIR names the folder in both cases.
HomeFolderChoice chooseHomeFolder(const HomeFolderFacts& facts);

// The facts of this process: its environment and its own folder.
HomeFolderFacts homeFolderFacts(const std::optional<std::string>& option,
                                const std::string& programPath);

// Chooses the home folder, makes it when it is the user's configuration folder (readable by
// the user alone, since it holds the password) and enters it into `options`. False, with the
// reason on `err`, when there is none to use.
bool settleHomeFolder(ProgramOptions& options, const std::string& programPath, std::ostream& err);

}  // namespace plintor
