#pragma once

#include <string>

#include "platform/win32/UniqueHandle.h"

namespace plintor::test {

// The test helper program (TestHelper.cpp) beside the test program.
std::string helperPath();

// Starts the helper with the arguments; an invalid handle when it could not start.
UniqueHandle startHelper(const std::string& arguments);

// The helper's exit code once it ended within the time; -1 when it still runs.
int waitForExit(const UniqueHandle& process, unsigned timeLimitMs);

// Runs the helper to its end (within 30 s) and gives its exit code.
int runHelper(const std::string& arguments);

// Polls until a top-level window of the class exists; false when none came in time.
bool waitForWindowClass(const std::string& className, unsigned timeLimitMs);

// Takes the calling thread's messages for a while, so that hooks and sent messages arrive.
void pumpMessagesFor(unsigned milliseconds);

}  // namespace plintor::test
