#include "core/support/FileHelpers.h"

#include <filesystem>

#include "core/support/SystemFiles.h"

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
    TSystemFile file = TSystemFile::Open(fileName, TSystemFile::TOpen::Read);
    return file.IsOpen() && file.Sync();
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
    RemoveFileForced(partial);  // left by a start that was killed while copying
    std::error_code error;
    const bool copied =
        std::filesystem::copy_file(source, partial, std::filesystem::copy_options::none, error) &&
        !error && WholeOnDisk(partial);
    // A target that appeared in the meantime is never replaced.
    const bool placed = copied && LinkFileNoReplace(partial, target);
    RemoveFileForced(partial);
    return placed;
}

void DeleteFileForced(const std::string& filePath) {
    RemoveFileForced(filePath);
}

bool CanWriteIn(const std::string& folder) {
    const std::optional<std::string> probe = CreateUniqueFile(folder, ".plintor-probe-");
    if (!probe) {
        return false;
    }
    TSystemFile file = TSystemFile::Open(*probe, TSystemFile::TOpen::ReadWrite);
    const bool room = file.IsOpen() && file.WriteWholeAt(0, "x") && file.Close();
    RemoveFileForced(*probe);
    return room;
}

std::string WithTrailingDelimiter(std::string folder) {
    if (!folder.empty() && !IsPathDelimiter(folder.back())) {
        folder += '/';
    }
    return folder;
}

}  // namespace plintor
