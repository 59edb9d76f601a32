// The configuration files under faults: a disk that fills while the default copies are made.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/config/ConfigFiles.h"
#include "core/config/UrlListFiles.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/SmallFileSystem.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TCollectingReport;
using test::WriteBytes;

class DefaultCopyTest : public test::SmallFileSystemTest {
protected:
    void SetUp() override {
        SmallFileSystemTest::SetUp();
        Previous = std::filesystem::current_path();
        std::filesystem::current_path(Dir.Root());
    }
    void TearDown() override {
        std::filesystem::current_path(Previous);
        SmallFileSystemTest::TearDown();
    }

    std::filesystem::path Previous;
};

// The deny list does not fit beside its default copy: there is no cut copy, and the default
// copy's masks are in force all the same.
TEST_F(DefaultCopyTest, ACopyThatDoesNotFitIsAbsentAndTheDefaultCopyIsRead) {
    std::string masks;
    for (int host = 0; masks.size() < 2 * PageSize + 100; ++host) {
        masks += "*://tracker" + std::to_string(host) + ".example/*\r\n";
    }
    WriteBytes("Blacklist_Default.txt", masks);    // three pages
    WriteBytes("Whitelist_Default.txt", "*\r\n");  // the fourth: the disk is full
    EXPECT_EQ(CopyDefaultFiles("plintor"),
              (std::vector<std::string>{"Whitelist.txt", "Blacklist.txt"}));
    for (const char* name :
         {"Whitelist.txt", "Blacklist.txt", "Whitelist.txt.partial", "Blacklist.txt.partial"}) {
        EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }

    const TEffectiveFiles files = EffectiveFiles("plintor");
    TUrlLists lists;
    TCollectingReport report;
    LoadURLLists(lists, files.Whitelist, files.Blacklist, report);
    EXPECT_TRUE(report.Failures.empty());
    EXPECT_FALSE(lists.IsURLAllowed("http://tracker150.example/pixel.png"));
    EXPECT_TRUE(lists.IsURLAllowed("http://library.example/"));
}

TEST_F(DefaultCopyTest, ACopyIsMadeOnceThereIsRoom) {
    WriteBytes("Blacklist_Default.txt", "*://tracker.example/*\r\n");
    EXPECT_TRUE(CopyDefaultFiles("plintor").empty());
    EXPECT_EQ(ReadBytes("Blacklist.txt"), "*://tracker.example/*\r\n");
}

}  // namespace
}  // namespace plintor
