#pragma once

#include <string>

#include "core/support/SystemFiles.h"

namespace plintor {

// The file name without folder and without its last extension ("a.b.exe" gives "a.b").
std::string programBaseName(const std::string& filePath);
// The folder part with its last delimiter ("" when there is none).
std::string folderOf(const std::string& filePath);

// The path with the extension of its file name replaced (or added when it has none).
std::string changeFileExt(const std::string& filePath, const std::string& extension);

// True at once when `target` exists; otherwise copies without ever overwriting, and leaves
// the whole copy or none.
bool copyFileIfMissing(const std::string& source, const std::string& target);

// Deletes the file, also a read-only one, and changes no other (see removeFileForced).
void deleteFileForced(const std::string& filePath);

// Whether a new file can be made in the folder now (it exists, is writable and not full).
bool canWriteIn(const std::string& folder);

// Appends the path delimiter unless the folder is empty or already ends with one.
std::string withTrailingDelimiter(std::string folder);

bool isPathDelimiter(char c);

}  // namespace plintor
