#pragma once

#include <string>

namespace plintor {

// Starts other programs (the converter).
class ProcessRunner {
public:
    static constexpr int NoTimeLimit = 0;

    virtual ~ProcessRunner() = default;

    // Starts the program of a command line (split the usual Windows way). With `wait`, waits
    // until it ends; a program still running after `timeLimitMs` (when not NoTimeLimit) is
    // ended together with everything it started. True when the program was started;
    // `exitCode` is its exit code, or -1 when it is not known (not started, not waited for, or
    // ended by force).
    virtual bool runCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                                int timeLimitMs = NoTimeLimit) = 0;
    // runCommandLine of the program file in double quotes, a blank and the parameters.
    virtual bool runProgram(const std::string& programFile, const std::string& parameters,
                            bool wait, int& exitCode, int timeLimitMs = NoTimeLimit) = 0;
};

}  // namespace plintor
