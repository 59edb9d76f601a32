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

namespace {

std::size_t FileNameStart(const std::string& filePath) {
    std::size_t start = filePath.size();
    while (start > 0 && !IsPathDelimiter(filePath[start - 1])) {
        --start;
    }
    return start;
}

}  // namespace

std::string ChangeFileExt(const std::string& filePath, const std::string& extension) {
    const std::size_t dot = filePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= FileNameStart(filePath);
    return filePath.substr(0, hasExtension ? dot : filePath.size()) + extension;
}

std::string ProgramBaseName(const std::string& filePath) {
    return ChangeFileExt(filePath.substr(FileNameStart(filePath)), "");
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
