#include "core/config/UrlListFiles.h"

#include <gtest/gtest.h>

#include "tests/support/CollectingReport.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::TCollectingReport;
using test::TTempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

struct TLinesCase {
    const char* Name;
    std::string Bytes;
    Lines Expected;
};

const TLinesCase LinesCases[] = {
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"LfAlone", "a\nb\n", {"a", "b"}},
    {"LoneCrIsDropped", "a\rb\r\nc", {"ab", "c"}},
    {"LastLineWithoutBreak", "a\nlast", {"a", "last"}},
    {"CtrlZEndsTheFile", "a\nb\x1A\nc\n", {"a", "b"}},
    {"BlanksAndEmptyLinesStay", "  http://x/  \n\n", {"  http://x/  ", ""}},
    {"EmptyFile", "", {}},
    {"ByteOrderMarkIsContent", "\xEF\xBB\xBFhttp://a/", {"\xEF\xBB\xBFhttp://a/"}},
    {"Windows1252", "http://caf\xE9/", {"http://caf\xC3\xA9/"}},
    {"Utf16LittleEndian", std::string("\xFF\xFEh\0t\0\r\0\n\0\xE9\0", 12), {"ht", "\xC3\xA9"}},
    {"Utf16BigEndian", std::string("\xFE\xFF\0a\0\n\0b", 8), {"a", "b"}},
};

class SplitListFileLinesTest : public ::testing::TestWithParam<TLinesCase> {};

TEST_P(SplitListFileLinesTest, LineRules) {
    EXPECT_EQ(SplitListFileLines(GetParam().Bytes), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, SplitListFileLinesTest, ::testing::ValuesIn(LinesCases),
                         test::TRowName());

TEST(LoadURLListsTest, FileLinesThenFixedEntriesThenButtons) {
    TTempDir dir;
    WriteBytes(dir.Path("Whitelist.txt"), "\xEF\xBB\xBFhttp://a/*\r\nhttp://b/*\r\n");
    WriteBytes(dir.Path("Blacklist.txt"), "http://b/secret*\n");
    TUrlLists lists;
    TCollectingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    AllowNavButtonAddresses(lists, {{"", 100, "http://home/"}});

    EXPECT_EQ(lists.Whitelist(), (Lines{"\xEF\xBB\xBFHTTP://A/*", "HTTP://B/*", "ABOUT:BLANK",
                                        "JAVASCRIPT:*", "HTTP://HOME"}));
    EXPECT_EQ(lists.Blacklist(), Lines{"HTTP://B/SECRET*"});
    EXPECT_EQ(report.Failures.size(), 0u);
    EXPECT_FALSE(lists.IsURLAllowed("http://a/x"));  // the mark spoils the first entry
    EXPECT_TRUE(lists.IsURLAllowed("http://b/x"));
    EXPECT_FALSE(lists.IsURLAllowed("http://b/secret.html"));
    EXPECT_TRUE(lists.IsURLAllowed("http://home/"));
}

struct TWarningCase {
    const char* Name;
    std::string Bytes;
    std::string Warning;  // empty: none
};

const TWarningCase WarningCases[] = {
    {"CrAlone", "http://a/*\rhttp://b/*\r", "ends its lines with CR alone"},
    {"CrAloneInUtf16",
     std::string("\xFF\xFE"
                 "a\0\r\0b\0\r\0",
                 10),
     "ends its lines with CR alone"},
    {"Utf8Mark", "\xEF\xBB\xBFhttp://a/*\n", "starts with a byte-order mark"},
    {"Fine", "http://a/*\r\nhttp://b/*\r\n", ""},
    {"CrAfterCtrlZIsNotRead", "http://a/*\x1A\r", ""},
};

class ListFileWarningTest : public ::testing::TestWithParam<TWarningCase> {};

TEST_P(ListFileWarningTest, FilesThatCannotBeMeantAreSaidSo) {
    TTempDir dir;
    WriteBytes(dir.Path("Blacklist.txt"), GetParam().Bytes);
    TUrlLists lists;
    TCollectingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    if (GetParam().Warning.empty()) {
        EXPECT_TRUE(report.Warnings.empty());
        return;
    }
    ASSERT_EQ(report.Warnings.size(), 1u);
    EXPECT_NE(report.Warnings[0].find(dir.Path("Blacklist.txt") + " " + GetParam().Warning),
              std::string::npos)
        << report.Warnings[0];
}

INSTANTIATE_TEST_SUITE_P(Files, ListFileWarningTest, ::testing::ValuesIn(WarningCases),
                         test::TRowName());

TEST(LoadURLListsTest, MissingAllowFileIsReportedMissingDenyFileIsNot) {
    TTempDir dir;
    TUrlLists lists;
    TCollectingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    EXPECT_EQ(report.Failures.size(), 1u);
    EXPECT_EQ(lists.Whitelist(), (Lines{"ABOUT:BLANK", "JAVASCRIPT:*"}));
    EXPECT_TRUE(lists.Blacklist().empty());
}

TEST(LoadURLListsTest, UnreadableDenyFileIsReportedAndLoadingGoesOn) {
    TTempDir dir;
    WriteBytes(dir.Path("Whitelist.txt"), "");
    std::filesystem::create_directory(dir.Path("Blacklist.txt"));
    TUrlLists lists;
    TCollectingReport report;
    LoadURLLists(lists, dir.Path("Whitelist.txt"), dir.Path("Blacklist.txt"), report);
    EXPECT_EQ(report.Failures.size(), 1u);
    EXPECT_EQ(lists.Whitelist(), (Lines{"ABOUT:BLANK", "JAVASCRIPT:*"}));
}

}  // namespace
}  // namespace plintor
