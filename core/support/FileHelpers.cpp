#include "core/support/FileHelpers.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/support/UniqueFd.h"

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

// Written data reaches the disk here; a full disk that the copy did not notice fails it now.
bool WholeOnDisk(const std::string& fileName) {
    const TUniqueFd file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    return file.IsOpen() && ::fsync(file.Get()) == 0;
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

// The copy is made under a name of its own in the target's folder and given the target's name
// only when complete, so a full disk or a kill leaves the whole file or none.
bool CopyFileIfMissing(const std::string& source, const std::string& target) {
    if (FileExists(target)) {
        return true;
    }
    const std::string partial = target + ".partial";
    ::unlink(partial.c_str());  // left by a start that was killed while copying
    std::error_code error;
    const bool copied =
        std::filesystem::copy_file(source, partial, std::filesystem::copy_options::none, error) &&
        !error && WholeOnDisk(partial);
    // link() never replaces a target that appeared in the meantime.
    const bool placed = copied && ::link(partial.c_str(), target.c_str()) == 0;
    ::unlink(partial.c_str());
    return placed;
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

bool CanWriteIn(const std::string& folder) {
    std::string probe = WithTrailingDelimiter(folder) + ".plintor-probe-XXXXXX";
    const TUniqueFd file(::mkstemp(probe.data()));
    if (!file.IsOpen()) {
        return false;
    }
    const bool room = ::write(file.Get(), "x", 1) == 1;
    ::unlink(probe.c_str());
    return room;
}

std::string WithTrailingDelimiter(std::string folder) {
    if (!folder.empty() && !IsPathDelimiter(folder.back())) {
        folder += '/';
    }
    return folder;
}

}  // namespace plintor
