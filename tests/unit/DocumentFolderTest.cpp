#include "core/documents/DocumentFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

namespace fs = std::filesystem;

bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string readText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool containsText(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class DocumentFolderTest : public ::testing::Test {
protected:
    std::string temp() const { return m_dir.root().string(); }
    std::string fixed() const { return DocumentFolder(temp()).path(); }
    // A file outside the folder that a link inside it points to: removing never reaches it.
    std::string outside() const { return m_dir.path("outside.txt"); }

    test::TempDir m_dir;
};

// What a killed run left (a partial transfer, the last visitor's document, a folder of the
// converter, a link to a file elsewhere) is gone at start; the link's target is not.
TEST_F(DocumentFolderTest, AtStartWhatEarlierRunsLeftIsRemovedAndTheFolderIsPrivate) {
    writeText(outside(), "keep");
    fs::create_directories(fixed() + "/lo/profile");
    writeText(fixed() + "/temp.tmp.wkdownload", "partial");
    writeText(fixed() + "/temp.pdf", "visitor");
    writeText(fixed() + "/lo/profile/x", "x");
    fs::create_symlink(outside(), fixed() + "/link");
    ::chmod((fixed() + "/temp.pdf").c_str(), 0444);
    ::chmod(fixed().c_str(), 0700);

    DocumentFolder folder(temp());
    EXPECT_EQ(folder.prepare(), std::vector<std::string>{});
    EXPECT_EQ(folder.path(), fixed());
    EXPECT_TRUE(isPrivateFolder(folder.path()));
    EXPECT_TRUE(fs::is_empty(folder.path()));
    EXPECT_EQ(readText(outside()), "keep");
    EXPECT_EQ(folder.whyNotReady(), "");
}

struct SquatCase {
    const char* name;
    std::function<void(const std::string& fixed, const std::string& elsewhere)> plant;
    const char* reason;
};

const SquatCase SquatCases[] = {
    {"LinkToAFolder",
     [](const std::string& fixed, const std::string& elsewhere) {
         fs::create_symlink(elsewhere, fixed);
     },
     "a symbolic link"},
    {"File", [](const std::string& fixed, const std::string&) { writeText(fixed, "file"); },
     "not a folder"},
    {"FolderOfAnotherUser",
     [](const std::string& fixed, const std::string&) {
         fs::create_directory(fixed);
         ::chmod(fixed.c_str(), 0700);
         ASSERT_EQ(::chown(fixed.c_str(), 65534, 65534), 0) << "changing owners needs root";
     },
     "owned by another user"},
    {"FolderOpenToOthers",
     [](const std::string& fixed, const std::string&) {
         fs::create_directory(fixed);
         ::chmod(fixed.c_str(), 0777);
     },
     "open to other users"},
};

class SquattedDocumentFolderTest : public DocumentFolderTest,
                                   public ::testing::WithParamInterface<SquatCase> {};

// A name that someone else took is neither used nor followed nor removed: a fresh folder of a
// name of its own takes the documents, and the log says why.
TEST_P(SquattedDocumentFolderTest, ANameThatIsNotOursIsLeftAndAFreshFolderIsUsed) {
    if (::geteuid() != 0 && std::string(GetParam().name) == "FolderOfAnotherUser") {
        GTEST_SKIP() << "changing owners needs root";
    }
    const std::string elsewhere = m_dir.path("elsewhere");
    fs::create_directory(elsewhere);
    writeText(elsewhere + "/theirs.txt", "theirs");
    GetParam().plant(fixed(), elsewhere);

    DocumentFolder folder(temp());
    const std::vector<std::string> log = folder.prepare();
    EXPECT_TRUE(
        containsText(log, "Documents folder " + fixed() + " is not used: " + GetParam().reason))
        << testing::PrintToString(log);
    EXPECT_TRUE(containsText(log, "Documents go to " + folder.path()));
    EXPECT_TRUE(folder.path().starts_with(fixed() + ".")) << folder.path();
    EXPECT_TRUE(isPrivateFolder(folder.path()));
    EXPECT_EQ(folder.whyNotReady(), "");
    EXPECT_EQ(readText(elsewhere + "/theirs.txt"), "theirs");
    EXPECT_TRUE(fs::exists(fs::symlink_status(fixed()))) << "what was planted is left alone";

    writeText(folder.path() + "/temp.pdf", "visitor");
    DocumentFolder next(temp());
    next.prepare();
    EXPECT_FALSE(fs::exists(folder.path())) << "the next start removes the fresh folder";
    EXPECT_TRUE(isPrivateFolder(next.path()));
}

INSTANTIATE_TEST_SUITE_P(Plants, SquattedDocumentFolderTest, ::testing::ValuesIn(SquatCases),
                         test::RowName());

// A new visitor finds the folder empty (links inside removed, not followed); a folder removed
// by a cleaner is made again for the next download; a link planted in its place is refused.
TEST_F(DocumentFolderTest, ClearEmptiesReadyMakesAgainAndRefusesALink) {
    writeText(outside(), "keep");
    DocumentFolder folder(temp());
    folder.prepare();
    writeText(folder.path() + "/temp.pdf", "visitor");
    fs::create_symlink(temp(), folder.path() + "/up");
    EXPECT_EQ(folder.clear(), std::vector<std::string>{});
    EXPECT_TRUE(fs::is_empty(folder.path()));
    EXPECT_EQ(readText(outside()), "keep");

    fs::remove(folder.path());
    EXPECT_EQ(folder.whyNotReady(), "");
    EXPECT_TRUE(isPrivateFolder(folder.path()));

    fs::remove(folder.path());
    fs::create_symlink(m_dir.root(), folder.path());
    EXPECT_EQ(folder.whyNotReady(),
              "Documents folder " + folder.path() + " is not used: a symbolic link");
    EXPECT_EQ(folder.clear(), std::vector<std::string>{});
    EXPECT_EQ(readText(outside()), "keep");
}

}  // namespace
}  // namespace plintor
