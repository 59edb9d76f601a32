#include "FileHelpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace plintor {

bool IsPathDelimiter(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

std::string ProgramBaseName(const std::string& filePath) {
    std::size_t nameStart = filePath.size();
    while (nameStart > 0 && !IsPathDelimiter(filePath[nameStart - 1])) {
        --nameStart;
    }
    std::string name = filePath.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

bool CopyFileIfMissing(const std::string& source, const std::string& target) {
    if (FileExists(target)) {
        return true;
    }
    std::error_code error;
    return std::filesystem::copy_file(source, target, std::filesystem::copy_options::none, error) &&
           !error;
}

void DeleteFileForced(const std::string& filePath) {
    struct stat info {};
    if (::stat(filePath.c_str(), &info) == 0) {
        ::chmod(filePath.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR);
    }
    ::unlink(filePath.c_str());
}

bool FileExists(const std::string& filePath) {
    struct stat info {};
    return ::stat(filePath.c_str(), &info) == 0;
}

std::string WithTrailingDelimiter(std::string folder) {
    if (!folder.empty() && !IsPathDelimiter(folder.back())) {
        folder += '/';
    }
    return folder;
}

}  // namespace plintor
