#include "core/support/FileHelpers.h"

#include <filesystem>

#include "core/support/SystemFiles.h"

namespace plintor {

bool isPathDelimiter(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

namespace {

std::size_t fileNameStart(const std::string& filePath) {
    std::size_t start = filePath.size();
    while (start > 0 && !isPathDelimiter(filePath[start - 1])) {
        --start;
    }
    return start;
}

// Written data reaches the disk here; a full disk that the copy did not notice fails it now.
bool wholeOnDisk(const std::string& fileName) {
    SystemFile file = SystemFile::open(fileName, SystemFile::OpenMode::Read);
    return file.isOpen() && file.sync();
}

}  // namespace

std::string changeFileExt(const std::string& filePath, const std::string& extension) {
    const std::size_t dot = filePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= fileNameStart(filePath);
    return filePath.substr(0, hasExtension ? dot : filePath.size()) + extension;
}

std::string programBaseName(const std::string& filePath) {
    return changeFileExt(filePath.substr(fileNameStart(filePath)), "");
}

std::string folderOf(const std::string& filePath) {
    return filePath.substr(0, fileNameStart(filePath));
}

// The copy is made under a name of its own in the target's folder and given the target's name
// only when complete, so a full disk or a kill leaves the whole file or none.
bool copyFileIfMissing(const std::string& source, const std::string& target) {
    if (fileExists(target)) {
        return true;
    }
    const std::string partial = target + ".partial";
    removeFileForced(partial);  // left by a start that was killed while copying
    std::error_code error;
    const bool copied =
        std::filesystem::copy_file(source, partial, std::filesystem::copy_options::none, error) &&
        !error && wholeOnDisk(partial);
    // A target that appeared in the meantime is never replaced.
    const bool placed = copied && linkFileNoReplace(partial, target);
    removeFileForced(partial);
    return placed;
}

void deleteFileForced(const std::string& filePath) {
    removeFileForced(filePath);
}

bool canWriteIn(const std::string& folder) {
    const std::optional<std::string> probe = createUniqueFile(folder, ".plintor-probe-");
    if (!probe) {
        return false;
    }
    SystemFile file = SystemFile::open(*probe, SystemFile::OpenMode::ReadWrite);
    const bool room = file.isOpen() && file.writeWholeAt(0, "x") && file.close();
    removeFileForced(*probe);
    return room;
}

std::string withTrailingDelimiter(std::string folder) {
    if (!folder.empty() && !isPathDelimiter(folder.back())) {
        folder += '/';
    }
    return folder;
}

}  // namespace plintor
