#include "core/support/FileHelpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/support/Log.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(ProgramBaseNameTest, DropsFolderAndLastExtension) {
    EXPECT_EQ(programBaseName("/opt/kiosk/plintor"), "plintor");
    EXPECT_EQ(programBaseName("/opt/kiosk/my.kiosk.exe"), "my.kiosk");
    EXPECT_EQ(programBaseName("plintor.bin"), "plintor");
    EXPECT_EQ(programBaseName("/opt/my.dir/plintor"), "plintor");
}

TEST(FolderOfTest, KeepsTheLastDelimiter) {
    EXPECT_EQ(folderOf("/opt/kiosk/plintor"), "/opt/kiosk/");
    EXPECT_EQ(folderOf("plintor"), "");
#ifdef _WIN32
    EXPECT_EQ(folderOf("C:\\Kiosk\\plintor.exe"), "C:\\Kiosk\\");
#endif
}

TEST(FileNameTest, ExtensionsAndLogName) {
    EXPECT_EQ(changeFileExt("/opt/kiosk/plintor", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(changeFileExt("/opt/kiosk/plintor.bin", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(changeFileExt("/opt/my.dir/plintor", ".log"), "/opt/my.dir/plintor.log");
    EXPECT_EQ(logFileNameFor("/opt/kiosk/plintor", ""), "/opt/kiosk/plintor.log");
    EXPECT_EQ(logFileNameFor("/opt/kiosk/plintor", "/srv/home"), "/srv/home/plintor.log");
    EXPECT_EQ(logFileNameFor("/opt/kiosk/plintor", "/srv/home/"), "/srv/home/plintor.log");
}

TEST(CopyFileIfMissingTest, NeverOverwritesAndCreatesNothingOnFailure) {
    TempDir dir;
    writeBytes(dir.path("target"), "operator's own");
    EXPECT_TRUE(copyFileIfMissing(dir.path("no-source"), dir.path("target")));
    EXPECT_EQ(readBytes(dir.path("target")), "operator's own");

    EXPECT_FALSE(copyFileIfMissing(dir.path("no-source"), dir.path("new")));
    EXPECT_FALSE(fileExists(dir.path("new")));

    writeBytes(dir.path("source"), "default");
    EXPECT_TRUE(copyFileIfMissing(dir.path("source"), dir.path("new")));
    EXPECT_EQ(readBytes(dir.path("new")), "default");
}

TEST(DeleteFileForcedTest, RemovesAReadOnlyFile) {
    TempDir dir;
    const std::string file = dir.path("readonly.pdf");
    writeBytes(file, "x");
    ::chmod(file.c_str(), 0444);
    deleteFileForced(file);
    EXPECT_FALSE(fileExists(file));
    deleteFileForced(file);  // a missing file is no error
}

}  // namespace
}  // namespace plintor
