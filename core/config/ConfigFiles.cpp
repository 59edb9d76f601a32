#include "core/config/ConfigFiles.h"

#include "core/support/FileHelpers.h"

namespace plintor {

std::string ConfigFileName(const std::string& programBaseName) {
    return programBaseName + ".ini";
}

std::string DefaultCopyName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t at = dot == std::string::npos ? fileName.size() : dot;
    return fileName.substr(0, at) + "_Default" + fileName.substr(at);
}

std::vector<std::string> CopyDefaultFiles(const std::string& programBaseName) {
    std::vector<std::string> failed;
    for (const std::string& file : {ConfigFileName(programBaseName), std::string(WhitelistFileName),
                                    std::string(BlacklistFileName)}) {
        const std::string defaultCopy = DefaultCopyName(file);
        if (!CopyFileIfMissing(defaultCopy, file) && FileExists(defaultCopy)) {
            failed.push_back(file);
        }
    }
    return failed;
}

std::string WorkingOrDefault(const std::string& fileName) {
    if (FileExists(fileName)) {
        return fileName;
    }
    const std::string defaultCopy = DefaultCopyName(fileName);
    return FileExists(defaultCopy) ? defaultCopy : fileName;
}

TEffectiveFiles EffectiveFiles(const std::string& programBaseName) {
    return {WorkingOrDefault(ConfigFileName(programBaseName)), WorkingOrDefault(WhitelistFileName),
            WorkingOrDefault(BlacklistFileName)};
}

}  // namespace plintor
