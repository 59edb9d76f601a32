#include "core/config/ConfigFiles.h"

#include "core/support/FileHelpers.h"

namespace plintor {

std::string configFileName(const std::string& programBaseName) {
    return programBaseName + ".ini";
}

std::string desktopStateFileName(const std::string& programBaseName) {
    return programBaseName + ".state";
}

std::string defaultCopyName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t at = dot == std::string::npos ? fileName.size() : dot;
    return fileName.substr(0, at) + "_Default" + fileName.substr(at);
}

std::vector<std::string> copyDefaultFiles(const std::string& programBaseName) {
    std::vector<std::string> failed;
    for (const std::string& file : {configFileName(programBaseName), std::string(WhitelistFileName),
                                    std::string(BlacklistFileName)}) {
        const std::string defaultCopy = defaultCopyName(file);
        if (!copyFileIfMissing(defaultCopy, file) && fileExists(defaultCopy)) {
            failed.push_back(file);
        }
    }
    return failed;
}

std::string workingOrDefault(const std::string& fileName) {
    if (fileExists(fileName)) {
        return fileName;
    }
    const std::string defaultCopy = defaultCopyName(fileName);
    return fileExists(defaultCopy) ? defaultCopy : fileName;
}

EffectiveFiles effectiveFiles(const std::string& programBaseName) {
    return {workingOrDefault(configFileName(programBaseName)), workingOrDefault(WhitelistFileName),
            workingOrDefault(BlacklistFileName)};
}

}  // namespace plintor
