// The Windows layer's process services against real Wine processes: the single-instance
// mutex, the access list without the terminate right, programs run and waited for, version
// resources and the system's folders.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/InstanceChannel.h"
#include "platform/ProcessProtection.h"
#include "platform/ProcessRunner.h"
#include "platform/win32/CopyDataText.h"
#include "platform/win32/ShellLaunch.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/WindowsServices.h"
#include "tests/win32/HelperProcess.h"

namespace plintor {
namespace {

using test::helperPath;
using test::runHelper;

TEST(InstanceMutexTest, SecondProcessIsRefusedWhileTheFirstHoldsIt) {
    EXPECT_EQ(runHelper("claim"), 0) << "nobody holds it yet";
    {
        const std::unique_ptr<InstanceChannel> channel = claimWindowInstanceChannel();
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(runHelper("claim"), 1);
        EXPECT_EQ(claimWindowInstanceChannel(), nullptr) << "a second claim in-process too";
    }
    EXPECT_EQ(runHelper("claim"), 0) << "released with the channel";
}

// The protection stays for the rest of this program's run; nothing after it needs this process
// ended from outside.
TEST(ProcessProtectionTest, OtherProcessCannotOpenItForTermination) {
    const std::string self = std::to_string(GetCurrentProcessId());
    ASSERT_EQ(runHelper("open-terminate " + self), 0) << "open before the protection";
    EXPECT_TRUE(createDaclProtection()->protect());
    EXPECT_EQ(runHelper("open-terminate " + self), 1);
}

class ProcessRunnerTest : public ::testing::Test {
protected:
    std::unique_ptr<ProcessRunner> m_runner = createWindowsProcessRunner();
};

TEST_F(ProcessRunnerTest, WaitedProgramReportsItsExitCode) {
    int exitCode = 0;
    EXPECT_TRUE(m_runner->runProgram(helperPath(), "exit 3", true, exitCode));
    EXPECT_EQ(exitCode, 3);
    EXPECT_TRUE(m_runner->runProgram(helperPath(), "exit 0", true, exitCode, 30000));
    EXPECT_EQ(exitCode, 0);
}

TEST_F(ProcessRunnerTest, MissingProgramIsNotStarted) {
    int exitCode = 0;
    EXPECT_FALSE(m_runner->runProgram("C:\\No Such Folder\\x.exe", "-p", true, exitCode));
    EXPECT_EQ(exitCode, -1);
}

TEST_F(ProcessRunnerTest, UnwaitedProgramGivesNoExitCode) {
    int exitCode = 0;
    EXPECT_TRUE(m_runner->runProgram(helperPath(), "exit 3", false, exitCode));
    EXPECT_EQ(exitCode, -1);
}

TEST_F(ProcessRunnerTest, ProgramOverItsTimeLimitIsEnded) {
    int exitCode = 0;
    const ULONGLONG begin = GetTickCount64();
    EXPECT_TRUE(
        m_runner->runProgram(helperPath(), "window PlintorSlowClass Slow", true, exitCode, 1500));
    EXPECT_EQ(exitCode, -1);
    EXPECT_LT(GetTickCount64() - begin, 20000u) << "the 60-second window did not run out";
    EXPECT_EQ(FindWindowW(L"PlintorSlowClass", nullptr), nullptr) << "the program is gone";
}

TEST(FileVersionTest, FixedVersionIsReadInDecimal) {
    EXPECT_EQ(fileVersionOf(helperPath()), "1.2.0.15");
    EXPECT_EQ(fileVersionOf(helperPath() + ".missing"), "");
    const std::string ownFolder = helperPath().substr(0, helperPath().find_last_of('\\') + 1);
    EXPECT_EQ(fileVersionOf(ownFolder + "ProcessTest.exe"), "") << "built without a resource";
}

TEST(SystemFoldersTest, FoldersEndWithADelimiter) {
    for (const std::string& folder : {systemTempFolder(), windowsFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), '\\') << folder;
        EXPECT_NE(GetFileAttributesW(std::wstring(folder.begin(), folder.end()).c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << folder;
    }
    EXPECT_EQ(runningProgramFileName(), "ProcessTest.exe");
}

TEST(ShellLaunchTest, ThirtyTwoBitProgramGoesThroughTheNativeInterpreter) {
    const ShellLaunch onWow64 = shellLaunch(true, "C:\\windows\\");
    EXPECT_EQ(onWow64.file, "C:\\windows\\sysnative\\cmd.exe");
    EXPECT_EQ(onWow64.parameters, "/c start /B explorer.exe");
    const ShellLaunch native = shellLaunch(false, "C:\\windows\\");
    EXPECT_EQ(native.file, "C:\\windows\\explorer.exe");
    EXPECT_EQ(native.parameters, "");
    EXPECT_FALSE(isWow64()) << "a 64-bit program";
}

// The data's byte count bounds the text; an odd last byte is no character.
TEST(CopyDataTextTest, TextEndsAtItsBytesOrItsFirstNul) {
    const wchar_t data[] = L"http://a.example/\0tail";
    EXPECT_EQ(copyDataText(data, 10 * sizeof(wchar_t)), "http://a.e");
    EXPECT_EQ(copyDataText(data, 10 * sizeof(wchar_t) + 1), "http://a.e");
    EXPECT_EQ(copyDataText(data, sizeof data), "http://a.example/");
    EXPECT_EQ(copyDataText(L"\x00e4", sizeof(wchar_t)), "\xC3\xA4");
    EXPECT_EQ(copyDataText(nullptr, 8), "");
}

}  // namespace
}  // namespace plintor
