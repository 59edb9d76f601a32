#include "core/app/ScreenshotTarget.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

struct TargetCase {
    const char* name;
    std::string file;  // in the fixture's folder, unless it begins with "/"
    std::string refusal;
};

// The fixture: "shot.png" (a file), "folder/", "file-folder" (a file), "link.png" (a link to
// shot.png), "dangling.png" (a link to nothing).
const TargetCase TargetCases[] = {
    {"NewFileInAFolder", "new.png", ""},
    {"ExistingFileIsReplaced", "shot.png", ""},
    {"RelativeName", "relative.png", "not an absolute file name"},
    {"MissingFolder", "missing/new.png", "the folder @/missing does not exist"},
    {"FolderThatIsAFile", "file-folder/new.png", "@/file-folder is not a folder"},
    {"NameOfAFolder", "folder", "not a regular file"},
    {"NameEndingInASlash", "folder/", "names a folder, not a file"},
    {"LinkToAFile", "link.png", "a symbolic link"},
    {"LinkToNothing", "dangling.png", "a symbolic link"},
};

class ScreenshotTargetTest : public ::testing::TestWithParam<TargetCase> {
protected:
    void SetUp() override {
        test::writeBytes(m_dir.path("shot.png"), "png");
        test::writeBytes(m_dir.path("file-folder"), "text");
        std::filesystem::create_directory(m_dir.path("folder"));
        std::error_code error;
        std::filesystem::create_symlink(m_dir.path("shot.png"), m_dir.path("link.png"), error);
        std::filesystem::create_symlink(m_dir.path("gone.png"), m_dir.path("dangling.png"), error);
        m_links = !error;
    }

    bool m_links = false;  // Windows makes them only with a privilege

    test::TempDir m_dir;
};

TEST_P(ScreenshotTargetTest, RefusesAllButARegularFileInAFolder) {
    const TargetCase& row = GetParam();
    if (row.refusal == "a symbolic link" && !m_links) {
        GTEST_SKIP() << "no symbolic links can be made here";
    }
    const std::string base = m_dir.root().string();
    const std::string file = row.file == "relative.png" ? row.file : base + "/" + row.file;
    std::string expected = row.refusal;
    if (const auto at = expected.find('@'); at != std::string::npos) {
        expected.replace(at, 1, base);
    }
    EXPECT_EQ(screenshotTargetRefusal(file), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ScreenshotTargetTest, ::testing::ValuesIn(TargetCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
