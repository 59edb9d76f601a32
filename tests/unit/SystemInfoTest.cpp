#include "platform/Platform.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace plintor {
namespace {

// The platform's services, made once for the whole test program as the kiosk makes them.
Platform& platform() {
    static const std::unique_ptr<Platform> platform = createPlatform();
    return *platform;
}

TEST(SystemInfoTest, ProgramVersionIsStampedByTheBuild) {
    const std::string program = platform().systemInfo().programPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(platform().systemInfo().fileVersion(program), PLINTOR_VERSION);
    EXPECT_EQ(platform().systemInfo().fileVersion("/bin/sh"), "");
    EXPECT_EQ(platform().systemInfo().fileVersion("/no/such/program"), "");
}

TEST(SystemInfoTest, TempFolderFollowsTmpdirAndEndsWithADelimiter) {
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(platform().systemInfo().tempFolder(), "/var/tmp/");
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(platform().systemInfo().tempFolder(), "/var/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(platform().systemInfo().tempFolder(), "/tmp/");
    ::setenv("TMPDIR", "/no/such/folder", 1);
    EXPECT_EQ(platform().systemInfo().tempFolder(), "/tmp/") << "a missing folder is not made";
    EXPECT_FALSE(std::filesystem::exists("/no/such/folder"));
    if (saved != nullptr) {
        ::setenv("TMPDIR", previous.c_str(), 1);
    }
}

}  // namespace
}  // namespace plintor
