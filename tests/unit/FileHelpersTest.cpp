#include "core/support/FileHelpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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

namespace fs = std::filesystem;

// On Windows, the read-only attribute.
void makeReadOnly(const std::string& fileName) {
    fs::permissions(fileName,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

unsigned int modeOf(const std::string& fileName) {
    return static_cast<unsigned int>(fs::status(fileName).permissions());
}

bool nameExists(const std::string& fileName) {
    std::error_code error;
    return fs::symlink_status(fileName, error).type() != fs::file_type::not_found;
}

// A `.partial` left as a link to a read-only file: the copy removes the link itself and leaves
// the file it pointed to as it was.
TEST(CopyFileIfMissingTest, ALinkInThePartialsPlaceChangesNoOtherFile) {
    TempDir dir;
    const std::string elsewhere = dir.path("elsewhere.txt");
    writeBytes(elsewhere, "not ours");
    makeReadOnly(elsewhere);
    const unsigned int before = modeOf(elsewhere);
    writeBytes(dir.path("Blacklist_Default.txt"), "*.example\r\n");
    const std::string target = dir.path("Blacklist.txt");
    std::error_code error;
    fs::create_symlink(elsewhere, target + ".partial", error);
    if (error == std::errc::function_not_supported) {
        GTEST_SKIP() << "no symbolic links here";  // the C++ library for Windows makes none
    }
    ASSERT_FALSE(error) << error.message();

    EXPECT_TRUE(copyFileIfMissing(dir.path("Blacklist_Default.txt"), target));
    EXPECT_EQ(readBytes(target), "*.example\r\n");
    EXPECT_FALSE(nameExists(target + ".partial"));
    EXPECT_EQ(readBytes(elsewhere), "not ours");
    EXPECT_EQ(modeOf(elsewhere), before);
    fs::permissions(elsewhere, fs::perms::owner_write, fs::perm_options::add);
}

// The name goes; the file behind it keeps its mode when another name still holds it.
TEST(DeleteFileForcedTest, RemovesTheNameAndChangesNoOtherFile) {
    TempDir dir;
    const std::string other = dir.path("other.txt");
    writeBytes(other, "kept");
    makeReadOnly(other);
    const unsigned int before = modeOf(other);
    const struct {
        const char* name;
        void (*make)(const fs::path& target, const fs::path& name, std::error_code& error);
    } links[] = {{"symbolic", fs::create_symlink}, {"hard", fs::create_hard_link}};
    for (const auto& link : links) {
        const std::string name = dir.path(std::string(link.name) + ".partial");
        std::error_code error;
        link.make(other, name, error);
        if (error == std::errc::function_not_supported) {
            continue;  // the C++ library for Windows makes no symbolic links
        }
        ASSERT_FALSE(error) << link.name << ": " << error.message();
        deleteFileForced(name);
        EXPECT_FALSE(nameExists(name)) << link.name;
        EXPECT_EQ(modeOf(other), before) << link.name;
        EXPECT_EQ(readBytes(other), "kept") << link.name;
    }
    fs::permissions(other, fs::perms::owner_write, fs::perm_options::add);
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
