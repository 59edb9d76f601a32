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

std::string defaultCopyOf(const std::string& fileName, const std::string& systemDefaults) {
    const std::string defaultCopy = defaultCopyName(fileName);
    if (fileExists(defaultCopy) || systemDefaults.empty()) {
        return defaultCopy;
    }
    const std::string systemCopy = withTrailingDelimiter(systemDefaults) + defaultCopy;
    return fileExists(systemCopy) ? systemCopy : defaultCopy;
}

std::vector<std::string> copyDefaultFiles(const ConfigNames& names) {
    std::vector<std::string> failed;
    for (const std::string& file : {configFileName(names.baseName), std::string(WhitelistFileName),
                                    std::string(BlacklistFileName)}) {
        const std::string defaultCopy = defaultCopyOf(file, names.systemDefaults);
        if (!copyFileIfMissing(defaultCopy, file) && fileExists(defaultCopy)) {
            failed.push_back(file);
        }
    }
    return failed;
}

std::string workingOrDefault(const std::string& fileName, const std::string& systemDefaults) {
    if (fileExists(fileName)) {
        return fileName;
    }
    const std::string defaultCopy = defaultCopyOf(fileName, systemDefaults);
    return fileExists(defaultCopy) ? defaultCopy : fileName;
}

EffectiveFiles effectiveFiles(const ConfigNames& names) {
    return {workingOrDefault(configFileName(names.baseName), names.systemDefaults),
            workingOrDefault(WhitelistFileName, names.systemDefaults),
            workingOrDefault(BlacklistFileName, names.systemDefaults)};
}

}  // namespace plintor
