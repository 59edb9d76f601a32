#include "platform/Platform.h"
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/RealPlatform.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

bool anyProcessMentions(const std::string& text) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream cmdline(entry.path() / "cmdline");
        std::string content((std::istreambuf_iterator<char>(cmdline)),
                            std::istreambuf_iterator<char>());
        if (content.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(ProcessRunnerTest, WaitsAndReportsTheExitCode) {
    int exitCode = 0;
    EXPECT_TRUE(test::realPlatform().processRunner().runProgram("/bin/sh", "-c \"exit 3\"", true,
                                                                exitCode));
    EXPECT_EQ(exitCode, 3);
    EXPECT_TRUE(test::realPlatform().processRunner().runCommandLine("true", true, exitCode));
    EXPECT_EQ(exitCode, 0);
}

TEST(ProcessRunnerTest, AProgramThatCannotStartIsNotStarted) {
    int exitCode = 0;
    EXPECT_FALSE(
        test::realPlatform().processRunner().runProgram("/no/such/program", "-p", true, exitCode));
    EXPECT_EQ(exitCode, -1);
    EXPECT_FALSE(test::realPlatform().processRunner().runCommandLine("", true, exitCode));
}

TEST(ProcessRunnerTest, TimeLimitEndsTheProgramAndWhatItStarted) {
    int exitCode = 0;
    EXPECT_TRUE(test::realPlatform().processRunner().runProgram(
        "/bin/sh", "-c \"sleep 123.456 & wait\"", true, exitCode, 300));
    EXPECT_EQ(exitCode, -1);
    // The group is killed, not reaped: its helper may still show in /proc for a moment on a
    // busy machine, but it must be gone long before the helper's own sleep would end.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (anyProcessMentions("123.456") && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(anyProcessMentions("123.456"));
}

TEST(ProcessRunnerTest, WithoutWaitingTheProgramRunsOn) {
    test::TempDir dir;
    const std::string marker = dir.path("started");
    int exitCode = 0;
    EXPECT_TRUE(test::realPlatform().processRunner().runProgram(
        "/bin/sh", "-c \"touch '" + marker + "'\"", false, exitCode));
    EXPECT_EQ(exitCode, -1);
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace plintor
