#include "config/UrlListFiles.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace plintor {
namespace {

using test::TTempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

TEST(SplitListFileLinesTest, LineRules) {
    const struct {
        const char* Name;
        std::string Bytes;
        Lines Expected;
    } cases[] = {
        {"CrLf", "a\r\nb\r\n", {"a", "b"}},
        {"LfAlone", "a\nb\n", {"a", "b"}},
        {"LoneCrIsDropped", "a\rb\r\nc", {"ab", "c"}},
        {"LastLineWithoutBreak", "a\nlast", {"a", "last"}},
        {"CtrlZEndsTheFile", "a\nb\x1A\nc\n", {"a", "b"}},
        {"BlanksAndEmptyLinesStay", "  http://x/  \n\n", {"  http://x/  ", ""}},
        {"EmptyFile", "", {}},
        {"ByteOrderMarkIsContent", "\xEF\xBB\xBFhttp://a/", {"\xEF\xBB\xBFhttp://a/"}},
        {"Windows1252", "http://caf\xE9/", {"http://caf\xC3\xA9/"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitListFileLines(c.Bytes), c.Expected) << c.Name;
    }
}

class TCountingReport final : public IConfigReport {
public:
    int Failures = 0;
    void LoadFailed(const std::exception&) override { ++Failures; }
    void ButtonDropped(int, const std::string&) override {}
};

TEST(LoadURLListsTest, FileLinesThenFixedEntriesThenButtons) {
    TTempDir dir;
    WriteBytes(dir.Path("Whitelist.txt"), "\xEF\xBB\xBFhttp://a/*\r\nhttp://b/*\r\n");
    WriteBytes(dir.Path("Blacklist.txt"), "http://b/secret*\n");
    TUrlLists lists;
    TCountingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    AllowNavButtonAddresses(lists, {{"", 100, "http://home/"}});

    EXPECT_EQ(lists.Whitelist(), (Lines{"\xEF\xBB\xBFHTTP://A/*", "HTTP://B/*", "ABOUT:BLANK",
                                        "JAVASCRIPT:*", "HTTP://HOME"}));
    EXPECT_EQ(lists.Blacklist(), Lines{"HTTP://B/SECRET*"});
    EXPECT_EQ(report.Failures, 0);
    EXPECT_FALSE(lists.IsURLAllowed("http://a/x"));  // the mark spoils the first entry
    EXPECT_TRUE(lists.IsURLAllowed("http://b/x"));
    EXPECT_FALSE(lists.IsURLAllowed("http://b/secret.html"));
    EXPECT_TRUE(lists.IsURLAllowed("http://home/"));
}

TEST(LoadURLListsTest, MissingAllowFileIsReportedMissingDenyFileIsNot) {
    TTempDir dir;
    TUrlLists lists;
    TCountingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    EXPECT_EQ(report.Failures, 1);
    EXPECT_EQ(lists.Whitelist(), (Lines{"ABOUT:BLANK", "JAVASCRIPT:*"}));
    EXPECT_TRUE(lists.Blacklist().empty());
}

TEST(LoadURLListsTest, UnreadableDenyFileIsReportedAndLoadingGoesOn) {
    TTempDir dir;
    WriteBytes(dir.Path("Whitelist.txt"), "");
    std::filesystem::create_directory(dir.Path("Blacklist.txt"));
    TUrlLists lists;
    TCountingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    EXPECT_EQ(report.Failures, 1);
    EXPECT_EQ(lists.Whitelist(), (Lines{"ABOUT:BLANK", "JAVASCRIPT:*"}));
}

}  // namespace
}  // namespace plintor
