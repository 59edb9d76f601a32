#include "core/config/ConfigFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(CopyDefaultFilesTest, CopiesOnlyWhatIsMissing) {
    TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.root());
    writeBytes("plintor.ini", "Password=mine\n");
    writeBytes("plintor_Default.ini", "Password=default\n");
    writeBytes("Whitelist_Default.txt", "http://default/*\n");
    copyDefaultFiles({"plintor", ""});
    EXPECT_EQ(readBytes("plintor.ini"), "Password=mine\n");
    EXPECT_EQ(readBytes("Whitelist.txt"), "http://default/*\n");
    EXPECT_FALSE(std::filesystem::exists("Blacklist.txt"));
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace plintor
