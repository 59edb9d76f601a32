#include "core/app/HomeFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/support/FileHelpers.h"

// Given by the build: where the package puts the program and its default copies.
#ifndef PLINTOR_INSTALLED_PROGRAM_FOLDER
#define PLINTOR_INSTALLED_PROGRAM_FOLDER "/usr/bin"
#endif
#ifndef PLINTOR_SYSTEM_DEFAULTS
#define PLINTOR_SYSTEM_DEFAULTS "/etc/plintor"
#endif

namespace plintor {
namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool sameFolder(const std::string& a, const std::string& b) {
    return withTrailingDelimiter(a) == withTrailingDelimiter(b);
}

// The XDG base directory rule: a relative $XDG_CONFIG_HOME is to be ignored.
std::string userConfigFolder(const HomeFolderFacts& facts) {
    if (facts.xdgConfigHome.starts_with('/')) {
        return withTrailingDelimiter(facts.xdgConfigHome) + "plintor";
    }
    if (facts.userHome.starts_with('/')) {
        return withTrailingDelimiter(facts.userHome) + ".config/plintor";
    }
    return {};
}

bool makeUserConfigFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return true;
    }
    fs::create_directories(fs::path(folder).parent_path(), error);
    if (!fs::create_directory(folder, error) || error) {
        return fs::is_directory(folder, error);  // made in the meantime by another start
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    return true;
}

}  // namespace

HomeFolderChoice chooseHomeFolder(const HomeFolderFacts& facts) {
    const bool installed = sameFolder(facts.programFolder, facts.installedProgramFolder) ||
                           !facts.programFolderWritable;
    if (!installed) {
        return {facts.option.value_or(facts.programFolder), "", false};
    }
    if (facts.option) {
        return {*facts.option, facts.systemDefaults, false};
    }
    return {userConfigFolder(facts), facts.systemDefaults, true};
}

HomeFolderFacts homeFolderFacts(const std::optional<std::string>& option,
                                const std::string& programPath) {
    const std::string programFolder = folderOf(programPath);
    return {option,
            programFolder,
            canWriteIn(programFolder),
            PLINTOR_INSTALLED_PROGRAM_FOLDER,
            PLINTOR_SYSTEM_DEFAULTS,
            environmentValue("XDG_CONFIG_HOME"),
            environmentValue("HOME")};
}

bool settleHomeFolder(ProgramOptions& options, const std::string& programPath, std::ostream& err) {
    const HomeFolderChoice choice = chooseHomeFolder(homeFolderFacts(options.home, programPath));
    if (choice.folder.empty()) {
        err << "plintor: no home folder: neither XDG_CONFIG_HOME nor HOME names a folder; use "
               "--home=DIR\n";
        return false;
    }
    if (choice.userConfig && !makeUserConfigFolder(choice.folder)) {
        err << "plintor: cannot make the home folder \"" << choice.folder << "\"\n";
        return false;
    }
    options.home = choice.folder;
    options.systemDefaults = choice.systemDefaults;
    return true;
}

}  // namespace plintor
