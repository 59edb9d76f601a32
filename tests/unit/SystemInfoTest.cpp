#include "platform/Platform.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace plintor {
namespace {

// The platform's services, made once for the whole test program as the kiosk makes them.
IPlatform& Platform() {
    static const std::unique_ptr<IPlatform> platform = CreatePlatform();
    return *platform;
}

TEST(SystemInfoTest, ProgramVersionIsStampedByTheBuild) {
    const std::string program = Platform().SystemInfo().ProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(Platform().SystemInfo().FileVersion(program), PLINTOR_VERSION);
    EXPECT_EQ(Platform().SystemInfo().FileVersion("/bin/sh"), "");
    EXPECT_EQ(Platform().SystemInfo().FileVersion("/no/such/program"), "");
}

TEST(SystemInfoTest, TempFolderFollowsTmpdirAndEndsWithADelimiter) {
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(Platform().SystemInfo().TempFolder(), "/var/tmp/");
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(Platform().SystemInfo().TempFolder(), "/var/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(Platform().SystemInfo().TempFolder(), "/tmp/");
    ::setenv("TMPDIR", "/no/such/folder", 1);
    EXPECT_EQ(Platform().SystemInfo().TempFolder(), "/tmp/") << "a missing folder is not made";
    EXPECT_FALSE(std::filesystem::exists("/no/such/folder"));
    if (saved != nullptr) {
        ::setenv("TMPDIR", previous.c_str(), 1);
    }
    EXPECT_EQ(Platform().SystemInfo().WindowsFolder(), "");
}

}  // namespace
}  // namespace plintor
