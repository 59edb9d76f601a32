#include "core/support/FileIO.h"

#include "core/support/Exceptions.h"
#include "core/support/SystemFiles.h"

namespace plintor {

std::string readFileBytes(const std::string& fileName) {
    SystemFile file = SystemFile::open(fileName, SystemFile::OpenMode::Read);
    if (!file.isOpen()) {
        throw FileError(FileError::Kind::Open, fileName, file.error());
    }
    std::string bytes;
    if (!file.readAll(bytes)) {
        throw FileError(FileError::Kind::Read, fileName, file.error());
    }
    return bytes;
}

bool writeFileWhole(const std::string& fileName, std::string_view bytes, unsigned int mode) {
    return writeFileWholeOrSayWhy(fileName, bytes, mode).empty();
}

std::string writeFileWholeOrSayWhy(const std::string& fileName, std::string_view bytes,
                                   unsigned int mode) {
    const std::string next = fileName + ".new";
    removeFileForced(next);  // left by a run that was killed while writing
    SystemFile file = SystemFile::open(next, SystemFile::OpenMode::CreateNew, true, mode);
    std::string why;
    // On the disk before it takes the name: a power cut after the rename must not leave the
    // name on an empty file.
    if (!file.isOpen() || !file.writeAll(bytes) || !file.sync() || !file.close()) {
        why = systemErrorText(file.error());
    } else if (!renameFile(next, fileName)) {
        why = "the written file could not take its name";
    }
    if (!why.empty()) {
        removeFileForced(next);
    }
    return why;
}

}  // namespace plintor
