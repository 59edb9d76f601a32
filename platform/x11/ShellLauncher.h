#pragma once

#include <string>
#include <vector>

namespace plintor {

// How a running program was started, read from /proc so that it can be started again the
// same way after it was ended.
struct TShellCommand {
    std::vector<std::string> Arguments;
    std::string WorkingFolder;
    std::vector<std::string> Environment;  // "NAME=value" entries
    std::string Executable;                // the program file the process ran, when still there
};

// Remembers the desktop shell's command lines before the shell is ended, and starts them again.
class TShellLauncher {
public:
    // False when the process's command line cannot be read (it is gone, or it is a kernel
    // thread). A command line remembered before is not remembered twice.
    bool Remember(long processId);

    // Starts every remembered command line detached from us (own session, never our zombie).
    // Above 32 for success (the first started process id, at least 33), 2 when nothing is
    // remembered, else a failure code of 32 or below (2: program file missing, 3: folder
    // missing, 5: access denied, 8: out of memory, 11: not a program, 0: any other failure).
    // Started command lines are forgotten; ones that failed stay for another try.
    int StartAll();

private:
    std::vector<TShellCommand> FCommands;
};

}  // namespace plintor
