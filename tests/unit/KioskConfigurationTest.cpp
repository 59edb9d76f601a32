#include "core/app/KioskConfiguration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/CollectingReport.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::CollectingReport;
using test::TempDir;
using test::writeBytes;
using Lines = std::vector<std::string>;

// The list files are named relative to the home folder, the current folder of a running kiosk.
class KioskListsReloadTest : public ::testing::Test {
protected:
    KioskListsReloadTest() : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_dir.root());
        writeBytes("plintor.ini", "Button1Width=100\nButton1URL=http://home.example/start\n");
        writeBytes("Whitelist.txt", "http://home.example/*\r\n");
        writeBytes("Blacklist.txt", "http://home.example/old*\r\n");
    }
    ~KioskListsReloadTest() override { std::filesystem::current_path(m_previous); }

    KioskConfiguration startConfiguration() {
        CollectingReport report;
        return loadKioskConfiguration({"plintor", ""}, m_tempFiles, 96, report);
    }

    TempDir m_dir;
    std::filesystem::path m_previous;
    const TempFiles m_tempFiles = tempFilesIn("/var/tmp/");
};

TEST_F(KioskListsReloadTest, ReadsTheChangedFilesAsAStartWould) {
    const KioskConfiguration running = startConfiguration();
    std::filesystem::remove("Whitelist.txt");
    writeBytes("Whitelist_Default.txt", "http://other.example/*\r\n");
    writeBytes("Blacklist.txt", "http://home.example/new*\r\n");
    CollectingReport report;

    const std::optional<UrlLists> reloaded =
        reloadKioskLists({"plintor", ""}, running.buttons, m_tempFiles, report);

    ASSERT_TRUE(reloaded);
    const KioskConfiguration restarted = startConfiguration();
    EXPECT_EQ(reloaded->whitelist(), restarted.lists.whitelist());
    EXPECT_EQ(reloaded->blacklist(), restarted.lists.blacklist());
    EXPECT_EQ(reloaded->whitelist(), (Lines{"HTTP://OTHER.EXAMPLE/*", "ABOUT:BLANK", "JAVASCRIPT:*",
                                            "HTTP://HOME.EXAMPLE/START"}));
    EXPECT_TRUE(reloaded->isUrlDenied("http://home.example/newpage"));
    EXPECT_FALSE(reloaded->isUrlDenied("http://home.example/oldpage"));
    EXPECT_TRUE(reloaded->isUrlAllowed("file:///var/tmp/temp.pdf")) << "the kiosk's own document";
    EXPECT_TRUE(report.failures.empty());
}

struct FailureCase {
    const char* name;
    void (*spoil)();
};

const FailureCase FailureCases[] = {
    {"DenyFileUnreadable",
     [] {
         std::filesystem::remove("Blacklist.txt");
         std::filesystem::create_directory("Blacklist.txt");
     }},
    {"AllowFileGone", [] { std::filesystem::remove("Whitelist.txt"); }},
};

class KioskListsReloadFailureTest : public KioskListsReloadTest,
                                    public ::testing::WithParamInterface<FailureCase> {};

TEST_P(KioskListsReloadFailureTest, GivesNoListsAndSaysWhy) {
    const KioskConfiguration running = startConfiguration();
    GetParam().spoil();
    CollectingReport report;
    EXPECT_FALSE(reloadKioskLists({"plintor", ""}, running.buttons, m_tempFiles, report));
    EXPECT_EQ(report.failures.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, KioskListsReloadFailureTest, ::testing::ValuesIn(FailureCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
