#include "core/config/UrlListFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/support/Exceptions.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::CollectingReport;
using test::TempDir;
using test::writeBytes;
using Lines = std::vector<std::string>;

struct LinesCase {
    const char* name;
    std::string bytes;
    Lines expected;
};

const LinesCase LinesCases[] = {
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

class SplitListFileLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SplitListFileLinesTest, LineRules) {
    EXPECT_EQ(splitListFileLines(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Files, SplitListFileLinesTest, ::testing::ValuesIn(LinesCases),
                         test::RowName());

TEST(LoadURLListsTest, FileLinesThenFixedEntriesThenButtons) {
    TempDir dir;
    writeBytes(dir.path("Whitelist.txt"), "\xEF\xBB\xBFhttp://a/*\r\nhttp://b/*\r\n");
    writeBytes(dir.path("Blacklist.txt"), "http://b/secret*\n");
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report);
    allowNavButtonAddresses(lists, {{"", 100, "http://home/"}});

    EXPECT_EQ(lists.whitelist(), (Lines{"\xEF\xBB\xBFHTTP://A/*", "HTTP://B/*", "ABOUT:BLANK",
                                        "JAVASCRIPT:*", "HTTP://HOME"}));
    EXPECT_EQ(lists.blacklist(), Lines{"HTTP://B/SECRET*"});
    EXPECT_EQ(report.failures.size(), 0u);
    EXPECT_FALSE(lists.isUrlAllowed("http://a/x"));  // the mark spoils the first entry
    EXPECT_TRUE(lists.isUrlAllowed("http://b/x"));
    EXPECT_FALSE(lists.isUrlAllowed("http://b/secret.html"));
    EXPECT_TRUE(lists.isUrlAllowed("http://home/"));
}

struct WarningCase {
    const char* name;
    std::string bytes;
    std::string warning;  // empty: none
};

const WarningCase WarningCases[] = {
    {"CrAlone", "http://a/*\rhttp://b/*\r", "ends its lines with CR alone"},
    {"CrAloneInUtf16",
     std::string("\xFF\xFE"
                 "a\0\r\0b\0\r\0",
                 10),
     "ends its lines with CR alone"},
    {"Utf8Mark", "\xEF\xBB\xBFhttp://a/*\n", "starts with a byte-order mark"},
    {"Fine", "http://a/*\r\nhttp://b/*\r\n", ""},
    {"CrAfterCtrlZIsNotRead", "http://a/*\x1A\r", ""},
    {"NoMask", "", "holds no mask: nothing is denied"},
};

class ListFileWarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(ListFileWarningTest, FilesThatCannotBeMeantAreSaidSo) {
    TempDir dir;
    writeBytes(dir.path("Blacklist.txt"), GetParam().bytes);
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report);
    if (GetParam().warning.empty()) {
        EXPECT_TRUE(report.warnings.empty());
        return;
    }
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find(dir.path("Blacklist.txt") + " " + GetParam().warning),
              std::string::npos)
        << report.warnings[0];
}

INSTANTIATE_TEST_SUITE_P(Files, ListFileWarningTest, ::testing::ValuesIn(WarningCases),
                         test::RowName());

TEST(LoadURLListsTest, MissingAllowFileIsReportedMissingDenyFileIsNot) {
    TempDir dir;
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report);
    EXPECT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(lists.whitelist(), (Lines{"ABOUT:BLANK", "JAVASCRIPT:*"}));
    EXPECT_TRUE(lists.blacklist().empty());
}

struct UnreadableCase {
    const char* name;
    void (*place)(const std::string& fileName);
};

const UnreadableCase UnreadableCases[] = {
    {"Folder", [](const std::string& name) { std::filesystem::create_directory(name); }},
#ifndef _WIN32  // a Windows folder holds no FIFO
    {"Fifo", [](const std::string& name) { ASSERT_EQ(::mkfifo(name.c_str(), 0644), 0); }},
    {"LinkToNowhere",
     [](const std::string& name) { std::filesystem::create_symlink(name + ".gone", name); }},
#endif
};

class UnreadableDenyFileTest : public ::testing::TestWithParam<UnreadableCase> {};

// Fails closed, never hangs on a FIFO, and the next load that can read the file is normal again.
TEST_P(UnreadableDenyFileTest, DeniesEverythingUntilItCanBeRead) {
    TempDir dir;
    writeBytes(dir.path("Whitelist.txt"), "*\n");
    GetParam().place(dir.path("Blacklist.txt"));
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report);
    EXPECT_EQ(report.failures.size(), 1u);
    ASSERT_EQ(report.errors.size(), 1u);
    EXPECT_NE(report.errors[0].find("Blacklist.txt cannot be read"), std::string::npos);
    EXPECT_EQ(lists.whitelist(), (Lines{"*", "ABOUT:BLANK", "JAVASCRIPT:*"}));
    EXPECT_EQ(lists.denyListState(), DenyListState::Unreadable);
    EXPECT_FALSE(lists.isUrlAllowed("http://host/"));
    EXPECT_TRUE(lists.isUrlAllowed("about:blank"));

    std::filesystem::remove(dir.path("Blacklist.txt"));
    writeBytes(dir.path("Blacklist.txt"), "*.EXE\n");
    UrlLists reloaded;
    CollectingReport again;
    loadUrlLists(reloaded, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), again);
    EXPECT_TRUE(again.errors.empty());
    EXPECT_EQ(reloaded.denyListState(), DenyListState::Read);
    EXPECT_TRUE(reloaded.isUrlAllowed("http://host/"));
    EXPECT_FALSE(reloaded.isUrlAllowed("http://host/a.exe"));
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableDenyFileTest, ::testing::ValuesIn(UnreadableCases),
                         test::RowName());

TEST(LoadURLListsTest, UnreadableDenyFileGivesWayToItsDefaultCopy) {
    TempDir dir;
    writeBytes(dir.path("Whitelist.txt"), "*\n");
    std::filesystem::create_directory(dir.path("Blacklist.txt"));
    writeBytes(dir.path("Blacklist_Default.txt"), "*.EXE\n");
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report,
                 dir.path("Blacklist_Default.txt"));
    EXPECT_TRUE(report.errors.empty());
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("its default copy"), std::string::npos);
    EXPECT_EQ(lists.denyListState(), DenyListState::Read);
    EXPECT_TRUE(lists.isUrlAllowed("http://host/"));
    EXPECT_FALSE(lists.isUrlAllowed("http://host/a.exe"));
}

TEST(LoadURLListsTest, LinesLongerThanAMaskAreLeftOutAndSaidSo) {
    TempDir dir;
    writeBytes(dir.path("Blacklist.txt"),
               "http://a/*\n" + std::string(MaskLimitBytes + 1, 'x') + "\nhttp://b/*\n");
    UrlLists lists;
    CollectingReport report;
    loadUrlLists(lists, dir.path("Whitelist.txt"), dir.path("Blacklist.txt"), report);
    EXPECT_EQ(lists.blacklist(), (Lines{"HTTP://A/*", "HTTP://B/*"}));
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("1 line(s) longer than 8192 bytes"), std::string::npos);
}

// A sparse file: the limit is seen before a byte is read.
TEST(ReadSettledListFileTest, FileOverTheLimitIsNotRead) {
    TempDir dir;
    writeBytes(dir.path("Blacklist.txt"), "");
    std::filesystem::resize_file(dir.path("Blacklist.txt"), ListFileLimitBytes + 1);
    try {
        readSettledListFile(dir.path("Blacklist.txt"));
        ADD_FAILURE() << "read a file over the limit";
    } catch (const FileError& error) {
        EXPECT_EQ(error.kind(), FileError::Kind::Read);
    }
}

// An editor that rewrites the file in place while the kiosk reads it: every read gives one
// whole version or fails, never the start of one and nothing of the rest. Not on Windows, whose
// file systems set a file's time of writing only when its writer closes it: a rewrite under
// way looks the same as a finished one there.
#ifndef _WIN32
TEST(ReadSettledListFileTest, FileRewrittenWhileReadIsReadWholeOrNotAtAll) {
    TempDir dir;
    const std::string file = dir.path("Blacklist.txt");
    const auto version = [](char mark) {
        std::string text;
        for (int line = 0; line < 20000; ++line) {
            text += "http://" + std::string(1, mark) + std::to_string(line) + "/*\n";
        }
        return text;
    };
    const std::string first = version('a');
    const std::string second = version('b') + version('c');
    writeBytes(file, first);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int round = 0; !done; ++round) {
            const std::string& text = round % 2 == 0 ? second : first;
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            for (std::size_t at = 0; at < text.size(); at += 65536) {
                out.write(text.data() + at, static_cast<std::streamsize>(
                                                std::min<std::size_t>(65536, text.size() - at)));
                out.flush();
            }
        }
    });
    int whole = 0;
    for (int read = 0; read < 30; ++read) {
        try {
            const std::string bytes = readSettledListFile(file);
            EXPECT_TRUE(bytes == first || bytes == second) << bytes.size() << " bytes";
            ++whole;
        } catch (const FileError& error) {
            EXPECT_EQ(error.kind(), FileError::Kind::Read);
        }
    }
    done = true;
    writer.join();
    RecordProperty("WholeReads", whole);
}
#endif

}  // namespace
}  // namespace plintor
