#pragma once

#include <string>

namespace plintor {

// Folders and facts the system reports, as UTF-8 texts.

// The running program's file (GetModuleFileNameW of the program module).
std::string runningProgramPath();
// The file name of the running program, with its extension and without its folder.
std::string runningProgramFileName();
// GetTempPathW and GetWindowsDirectoryW, cut at the first NUL, ending with "\" unless empty.
std::string systemTempFolder();
std::string windowsFolder();
// "major.minor.release.build" of the fixed part of a file's version resource; empty when the
// file has none or cannot be read.
std::string fileVersionOf(const std::string& filePath);

}  // namespace plintor
