#include "core/config/ConfigFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;

TEST(CopyDefaultFilesTest, CopiesOnlyWhatIsMissing) {
    TTempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    WriteBytes("plintor.ini", "Password=mine\n");
    WriteBytes("plintor_Default.ini", "Password=default\n");
    WriteBytes("Whitelist_Default.txt", "http://default/*\n");
    CopyDefaultFiles("plintor");
    EXPECT_EQ(ReadBytes("plintor.ini"), "Password=mine\n");
    EXPECT_EQ(ReadBytes("Whitelist.txt"), "http://default/*\n");
    EXPECT_FALSE(std::filesystem::exists("Blacklist.txt"));
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace plintor
