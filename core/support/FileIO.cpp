#include "core/support/FileIO.h"

#include "core/support/Exceptions.h"
#include "core/support/SystemFiles.h"

namespace plintor {

std::string ReadFileBytes(const std::string& fileName) {
    TSystemFile file = TSystemFile::Open(fileName, TSystemFile::TOpen::Read);
    if (!file.IsOpen()) {
        throw EFOpenError(fileName, file.Error());
    }
    std::string bytes;
    if (!file.ReadAll(bytes)) {
        throw EReadError(fileName, file.Error());
    }
    return bytes;
}

bool WriteFileWhole(const std::string& fileName, std::string_view bytes, unsigned int mode) {
    const std::string next = fileName + ".new";
    RemoveFileForced(next);  // left by a run that was killed while writing
    TSystemFile file = TSystemFile::Open(next, TSystemFile::TOpen::CreateNew, true, mode);
    const bool whole =
        file.IsOpen() && file.WriteAll(bytes) && file.Close() && RenameFile(next, fileName);
    if (!whole) {
        RemoveFileForced(next);
    }
    return whole;
}

}  // namespace plintor
