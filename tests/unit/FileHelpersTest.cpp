#include "core/support/FileHelpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/support/Log.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;

TEST(ProgramBaseNameTest, DropsFolderAndLastExtension) {
    EXPECT_EQ(ProgramBaseName("/opt/kiosk/plintor"), "plintor");
    EXPECT_EQ(ProgramBaseName("/opt/kiosk/my.kiosk.exe"), "my.kiosk");
    EXPECT_EQ(ProgramBaseName("plintor.bin"), "plintor");
    EXPECT_EQ(ProgramBaseName("/opt/my.dir/plintor"), "plintor");
}

TEST(FileNameTest, ExtensionsAndLogName) {
    EXPECT_EQ(ChangeFileExt("/opt/kiosk/plintor", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(ChangeFileExt("/opt/kiosk/plintor.bin", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(ChangeFileExt("/opt/my.dir/plintor", ".log"), "/opt/my.dir/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", ""), "/opt/kiosk/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", "/srv/home"), "/srv/home/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", "/srv/home/"), "/srv/home/plintor.log");
}

TEST(CopyFileIfMissingTest, NeverOverwritesAndCreatesNothingOnFailure) {
    TTempDir dir;
    WriteBytes(dir.Path("target"), "operator's own");
    EXPECT_TRUE(CopyFileIfMissing(dir.Path("no-source"), dir.Path("target")));
    EXPECT_EQ(ReadBytes(dir.Path("target")), "operator's own");

    EXPECT_FALSE(CopyFileIfMissing(dir.Path("no-source"), dir.Path("new")));
    EXPECT_FALSE(FileExists(dir.Path("new")));

    WriteBytes(dir.Path("source"), "default");
    EXPECT_TRUE(CopyFileIfMissing(dir.Path("source"), dir.Path("new")));
    EXPECT_EQ(ReadBytes(dir.Path("new")), "default");
}

TEST(DeleteFileForcedTest, RemovesAReadOnlyFile) {
    TTempDir dir;
    const std::string file = dir.Path("readonly.pdf");
    WriteBytes(file, "x");
    ::chmod(file.c_str(), 0444);
    DeleteFileForced(file);
    EXPECT_FALSE(FileExists(file));
    DeleteFileForced(file);  // a missing file is no error
}

}  // namespace
}  // namespace plintor
