#include "ConfigFiles.h"

#include "support/FileHelpers.h"

namespace plintor {

std::string ConfigFileName(const std::string& programBaseName) {
    return programBaseName + ".ini";
}

std::string DefaultCopyName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t at = dot == std::string::npos ? fileName.size() : dot;
    return fileName.substr(0, at) + "_Default" + fileName.substr(at);
}

void CopyDefaultFiles(const std::string& programBaseName) {
    for (const std::string& file : {ConfigFileName(programBaseName), std::string(WhitelistFileName),
                                    std::string(BlacklistFileName)}) {
        CopyFileIfMissing(DefaultCopyName(file), file);
    }
}

std::string WorkingOrDefault(const std::string& fileName) {
    if (FileExists(fileName)) {
        return fileName;
    }
    const std::string defaultCopy = DefaultCopyName(fileName);
    return FileExists(defaultCopy) ? defaultCopy : fileName;
}

}  // namespace plintor
