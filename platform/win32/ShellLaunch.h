#pragma once

#include <string>

namespace plintor {

// How the desktop shell is started again: a 32-bit program on 64-bit Windows goes through the
// 64-bit command interpreter (the file system redirection would start the 32-bit shell).
struct ShellLaunch {
    std::string file;
    std::string parameters;
};

ShellLaunch shellLaunch(bool wow64, const std::string& windowsFolder);

// True when this process is a 32-bit one on 64-bit Windows; false where the system cannot say.
bool isWow64();

// ShellExecuteW of the launch, hidden, without owner, verb or working folder; above 32 for
// success.
int startShellProgram(const ShellLaunch& launch);

}  // namespace plintor
