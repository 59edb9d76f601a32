// The configuration files under faults: a disk that fills while the default copies are made.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/config/ConfigFiles.h"
#include "core/config/UrlListFiles.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/SmallFileSystem.h"

namespace plintor {
namespace {

using test::CollectingReport;
using test::readBytes;
using test::writeBytes;

class DefaultCopyTest : public test::SmallFileSystemTest {
protected:
    void SetUp() override {
        SmallFileSystemTest::SetUp();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.root());
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        SmallFileSystemTest::TearDown();
    }

    std::filesystem::path m_previous;
};

// The deny list does not fit beside its default copy: there is no cut copy, and the default
// copy's masks are in force all the same.
TEST_F(DefaultCopyTest, ACopyThatDoesNotFitIsAbsentAndTheDefaultCopyIsRead) {
    std::string masks;
    for (int host = 0; masks.size() < 2 * PageSize + 100; ++host) {
        masks += "*://tracker" + std::to_string(host) + ".example/*\r\n";
    }
    writeBytes("Blacklist_Default.txt", masks);    // three pages
    writeBytes("Whitelist_Default.txt", "*\r\n");  // the fourth: the disk is full
    EXPECT_EQ(copyDefaultFiles({"plintor", ""}),
              (std::vector<std::string>{"Whitelist.txt", "Blacklist.txt"}));
    for (const char* name :
         {"Whitelist.txt", "Blacklist.txt", "Whitelist.txt.partial", "Blacklist.txt.partial"}) {
        EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }

    const EffectiveFiles files = effectiveFiles({"plintor", ""});
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, files.whitelist, files.blacklist, report);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_FALSE(lists.isUrlAllowed("http://tracker150.example/pixel.png"));
    EXPECT_TRUE(lists.isUrlAllowed("http://library.example/"));
}

TEST_F(DefaultCopyTest, ACopyIsMadeOnceThereIsRoom) {
    writeBytes("Blacklist_Default.txt", "*://tracker.example/*\r\n");
    EXPECT_TRUE(copyDefaultFiles({"plintor", ""}).empty());
    EXPECT_EQ(readBytes("Blacklist.txt"), "*://tracker.example/*\r\n");
}

}  // namespace
}  // namespace plintor
