#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace plintor {
namespace {

TEST(SystemInfoTest, ProgramVersionIsStampedByTheBuild) {
    const std::string program = SystemInfo().ProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(SystemInfo().FileVersion(program), PLINTOR_VERSION);
    EXPECT_EQ(SystemInfo().FileVersion("/bin/sh"), "");
    EXPECT_EQ(SystemInfo().FileVersion("/no/such/program"), "");
}

TEST(SystemInfoTest, TempFolderFollowsTmpdirAndEndsWithADelimiter) {
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(SystemInfo().TempFolder(), "/var/tmp/");
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(SystemInfo().TempFolder(), "/var/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(SystemInfo().TempFolder(), "/tmp/");
    ::setenv("TMPDIR", "/no/such/folder", 1);
    EXPECT_EQ(SystemInfo().TempFolder(), "/tmp/") << "a missing folder is not made";
    EXPECT_FALSE(std::filesystem::exists("/no/such/folder"));
    if (saved != nullptr) {
        ::setenv("TMPDIR", previous.c_str(), 1);
    }
    EXPECT_EQ(SystemInfo().WindowsFolder(), "");
}

}  // namespace
}  // namespace plintor
