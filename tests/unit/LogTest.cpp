#include "core/support/Log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/support/Exceptions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LocalDates.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// 10 December 2026, 14:05:09.250 in the C locale's formats.
const LocalTime kAfternoon = test::date(2026, 12, 10) + 14h + 5min + 9s + 250ms;
const std::string kStamp = "12/10/26 14:05:09";

class LogTest : public ::testing::Test {
protected:
    LogWriter at(const std::string& fileName) const { return LogWriter(fileName, m_clock); }

    TempDir m_dir;
    FakeClock m_clock{kAfternoon};
    std::string m_file = m_dir.path("plintor.log");
    LogWriter m_log = at(m_file);
};

TEST_F(LogTest, CreatesMissingFoldersAndWritesNoByteOrderMark) {
    const std::string nested = m_dir.path("logs/sub/plintor.log");
    EXPECT_TRUE(at(nested).plain("first"));
    EXPECT_EQ(readBytes(nested), "first\r\n");
}

struct FormCase {
    const char* name;
    bool (*write)(const LogWriter&, std::string_view);
    std::string text;
    std::string expected;
};

class LogFormTest : public LogTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(LogFormTest, ComposesTheEntry) {
    ASSERT_TRUE(GetParam().write(m_log, GetParam().text));
    EXPECT_EQ(readBytes(m_file), GetParam().expected);
}

bool plain(const LogWriter& log, std::string_view t) {
    return log.plain(t);
}
bool stamped(const LogWriter& log, std::string_view t) {
    return log.stamped(t);
}
bool entry(const LogWriter& log, std::string_view t) {
    return log.entry(t);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LogFormTest,
    ::testing::Values(
        FormCase{"PlainEmptyIsALineEnd", plain, "", "\r\n"},
        FormCase{"StampedEmptyKeepsTheTwoBlanks", stamped, "", kStamp + "  \r\n"},
        FormCase{"PlainKeepsItsOwnLineEnd", plain, "x\r\n", "x\r\n"},
        FormCase{"StampedKeepsItsOwnLineEnd", stamped, "x\r\n", kStamp + "  x\r\n"},
        FormCase{"EntryAddsOnlyTheEmptyLine", entry, "x\r\n", kStamp + "\r\nx\r\n\r\n"},
        FormCase{"LoneLineFeedIsNotALineEndAndIsEscaped", plain, "x\n", "x\\u000A\r\n"},
        FormCase{"OneCharacterIsEscaped", plain, "\r", "\\u000D\r\n"},
        FormCase{"LoneLineEndsInsideTheTextAreEscaped", entry, "a\nSession cleared\rb",
                 kStamp + "\r\na\\u000ASession cleared\\u000Db\r\n\r\n"},
        FormCase{"TheProgramsOwnSecondLineStays", entry, "Monitor: 1x1\r\nDesktop: 1x1",
                 kStamp + "\r\nMonitor: 1x1\r\nDesktop: 1x1\r\n\r\n"},
        FormCase{"EntryForm", entry, "Return to home page",
                 kStamp + "\r\nReturn to home page\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogTest, StampLeavesOutTheTimeAtMidnight) {
    m_clock.set(test::date(2026, 12, 10));
    EXPECT_EQ(logTimeStamp(m_clock.now()), "12/10/26");
    m_clock.set(test::date(2026, 12, 10) + 1ms);
    EXPECT_EQ(logTimeStamp(m_clock.now()), "12/10/26 00:00:00");
}

struct TrimCase {
    const char* name;
    std::string old;
    std::string text;
    std::int64_t maxSize;
    std::string expected;
};

class LogTrimTest : public LogTest, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(LogTrimTest, KeepsASuffixThatStartsAtALine) {
    writeBytes(m_file, GetParam().old);
    ASSERT_TRUE(m_log.plain(GetParam().text, GetParam().maxSize));
    EXPECT_EQ(readBytes(m_file), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, LogTrimTest,
    ::testing::Values(
        TrimCase{"CutMovesToTheNextLine", "aaaa\r\nbbbb\r\ncccc\r\n", "dd", 20,
                 "bbbb\r\ncccc\r\ndd\r\n"},
        TrimCase{"CutOnALineFeedSeesTheNextPair", "aaa\r\nbbb\r\nccc", "cc", 13, "ccccc\r\n"},
        TrimCase{"EmptyLinesAfterTheCutAreSkipped", "aa\r\n\r\n\r\nbb\r\n", "c", 12, "bb\r\nc\r\n"},
        TrimCase{"NoLineEndCutsAtTheExactByte", "abcdefghij", "x", 10, "defghijx\r\n"},
        TrimCase{"NoTrimWhenItFits", "abc\r\n", "d", 8, "abc\r\nd\r\n"},
        TrimCase{"LongEntryEmptiesTheFile", "ab", "1234567", 10, "1234567\r\n"},
        TrimCase{"LongEntryAgainstOneByteIsNotTrimmed", "a", "1234567", 10, "a1234567\r\n"},
        TrimCase{"ZeroCapNeverTrims", "abc\r\n", "d", 0, "abc\r\nd\r\n"},
        TrimCase{"TheCapCountsBytes", "abcdefgh", "\xC3\xA9", 11, "bcdefgh\xC3\xA9\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogTest, FullSizeFileKeepsEverythingAfterTheFirstLineEndPastTheCut) {
    std::string old;
    for (int line = 0; line < 1020; ++line) {
        old += std::string(98, 'x') + "\r\n";  // 102000 bytes, line ends at 98, 198, ...
    }
    writeBytes(m_file, old);
    const std::string entry = std::string(998, 'e') + "\r\n";
    ASSERT_TRUE(m_log.plain(entry));
    EXPECT_EQ(readBytes(m_file), old.substr(700) + entry);  // cut 600 -> line end at 698
}

// Three bytes a character: a cap counted in characters let such a log grow by two thirds of
// an entry past it.
TEST_F(LogTest, CjkEntriesNeverPushTheFileOverTheCap) {
    std::string text;
    while (text.size() < 3000) {
        text += "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語
    }
    for (int entry = 0; entry < 80; ++entry) {
        ASSERT_TRUE(m_log.entry(std::to_string(entry) + text));
        ASSERT_LE(readBytes(m_file).size(), static_cast<std::size_t>(MaxLogSize))
            << "after entry " << entry;
    }
    EXPECT_TRUE(readBytes(m_file).ends_with("79" + text + "\r\n\r\n"));
}

TEST_F(LogTest, OneHugeEntryCannotPushTheHistoryOut) {
    std::string history;
    for (int line = 0; line < 600; ++line) {
        history += "entry " + std::to_string(line) + "\r\n";
    }
    writeBytes(m_file, history);
    ASSERT_TRUE(
        m_log.entry("BeforeNavigate: http://host/?" + std::string(150000, 'q') + " (True)"));
    const std::string log = readBytes(m_file);
    EXPECT_EQ(log.substr(0, history.size()), history) << "the older entries stay";
    EXPECT_LT(log.size(), history.size() + MaxLogEntryText + 100);
    EXPECT_NE(log.find("qqq\xE2\x80\xA6\r\n\r\n"), std::string::npos) << "the cut is marked";
}

struct EscapeCase {
    const char* name;
    std::string text;
    std::string expected;
};

class EscapedLogTextTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapedLogTextTest, ShowsWhatWouldBreakOrReorderALine) {
    EXPECT_EQ(escapedLogText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, EscapedLogTextTest,
    ::testing::Values(
        EscapeCase{"PlainTextAndPathsStay", "C:\\a b/\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
                   "C:\\a b/\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        EscapeCase{"LineSeparator",
                   "a\xE2\x80\xA8"
                   "b",
                   "a\\u2028b"},
        EscapeCase{"ParagraphSeparator", "\xE2\x80\xA9", "\\u2029"},
        EscapeCase{"NextLine", "\xC2\x85", "\\u0085"},
        EscapeCase{"OtherC1AndDelete", "\xC2\x80\xC2\x9F\x7F", "\\u0080\\u009F\\u007F"},
        EscapeCase{"C0ControlsTabAndNul", std::string("\t\x1B\0", 3), "\\u0009\\u001B\\u0000"},
        EscapeCase{"MarksAndEmbeddings", "\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAA\xE2\x80\xAE",
                   "\\u200E\\u200F\\u202A\\u202E"},
        EscapeCase{"IsolatesAndArabicMark", "\xE2\x81\xA6\xE2\x81\xA9\xD8\x9C",
                   "\\u2066\\u2069\\u061C"},
        EscapeCase{"NeighboursStay", "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5",
                   "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5"},
        EscapeCase{"BrokenSequencesStay",
                   "\xE2\x80"
                   "a\xC2",
                   "\xE2\x80"
                   "a\xC2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogTest, EscapedTextIsBoundedAfterEscaping) {
    ASSERT_TRUE(m_log.entry(std::string(MaxLogEntryText, '\x1B')));
    const std::string log = readBytes(m_file);
    EXPECT_LT(log.size(), MaxLogEntryText + 64);
    EXPECT_EQ(log.find('\x1B'), std::string::npos);
}

TEST(BoundedLogTextTest, CutsAtACharacterBoundary) {
    EXPECT_EQ(boundedLogText("short"), "short");
    EXPECT_EQ(boundedLogText(std::string(MaxLogEntryText, 'a')), std::string(MaxLogEntryText, 'a'));
    const std::string euros = std::string(MaxLogEntryText - 1, 'a') + "\xE2\x82\xAC\xE2\x82\xAC";
    EXPECT_EQ(boundedLogText(euros), std::string(MaxLogEntryText - 1, 'a') + "\xE2\x80\xA6");
}

TEST_F(LogTest, ExceptionEntryNamesTheClass) {
    struct EEmptyMessage : std::exception {
        const char* what() const noexcept override { return ""; }
    };
    ASSERT_TRUE(m_log.exception(EEmptyMessage()));
    EXPECT_EQ(readBytes(m_file), kStamp + "\r\nEEmptyMessage: \r\n\r\n");
}

// Operators' log filters look for the historical names of file errors.
TEST_F(LogTest, FileErrorsNameTheirClass) {
    ASSERT_TRUE(m_log.exception(FileError(FileError::Kind::Open, "/no/such/file.ini", ENOENT)));
    ASSERT_TRUE(m_log.exception(FileError(FileError::Kind::Read, "/no/such/file.ini", EIO)));
    EXPECT_EQ(readBytes(m_file), kStamp +
                                     "\r\nEFOpenError: Cannot open file \"/no/such/file.ini\". "
                                     "No such file or directory\r\n\r\n" +
                                     kStamp +
                                     "\r\nEReadError: Cannot read file \"/no/such/file.ini\". " +
                                     std::strerror(EIO) + "\r\n\r\n");
}

// The lists report from a thread of their own while the program logs its start: no entry may
// lose or mix its lines.
TEST_F(LogTest, EntriesFromTwoThreadsStayWhole) {
    constexpr int perThread = 200;
    auto writeMany = [this](char letter) {
        for (int i = 0; i < perThread; ++i) {
            m_log.entry(std::string(300, letter), 0);
        }
    };
    std::thread other(writeMany, 'a');
    writeMany('b');
    other.join();
    const std::string entryA = kStamp + "\r\n" + std::string(300, 'a') + "\r\n\r\n";
    const std::string entryB = kStamp + "\r\n" + std::string(300, 'b') + "\r\n\r\n";
    const std::string log = readBytes(m_file);
    ASSERT_EQ(log.size(), perThread * (entryA.size() + entryB.size()));
    for (std::size_t at = 0; at < log.size(); at += entryA.size()) {
        const std::string entry = log.substr(at, entryA.size());
        ASSERT_TRUE(entry == entryA || entry == entryB) << "at byte " << at;
    }
}

// The journal gets each entry's text as the file holds it, and the file is the same with or
// without a journal.
TEST_F(LogTest, MirrorGetsEachTextAsTheFileHoldsIt) {
    struct Collected final : LogMirror {
        void mirror(std::string_view text) override { texts.emplace_back(text); }
        std::vector<std::string> texts;
    } journal;
    const std::string plainFile = m_dir.path("plain.log");
    const auto writeAll = [](const LogWriter& log) {
        log.entry("Return to home page");
        log.stamped("page\xE2\x80\xAEtxt.exe\r\n");
        log.plain("");
        log.plain(std::string(MaxLogEntryText + 10, 'a'));
    };
    LogWriter mirrored = at(m_file);
    mirrored.setMirror(&journal);
    writeAll(mirrored);
    writeAll(at(plainFile));

    EXPECT_EQ(readBytes(m_file), readBytes(plainFile));
    ASSERT_EQ(journal.texts.size(), 3u);  // no empty line
    EXPECT_EQ(journal.texts[0], "Return to home page");
    EXPECT_EQ(journal.texts[1], "page\\u202Etxt.exe");
    EXPECT_EQ(journal.texts[2], boundedLogText(std::string(MaxLogEntryText + 10, 'a')));
}

TEST(ProgramLogTest, WritesNowhereBeforeItIsStarted) {
    EXPECT_FALSE(logPlain("no log file name"));
    EXPECT_FALSE(logEntry("no log file name"));
}

TEST_F(LogTest, UnwritableTargetsGiveFalseAndChangeNothing) {
    EXPECT_FALSE(at(m_dir.path("")).plain("a folder is not a log file"));

    const std::string readOnly = m_dir.path("readonly.log");
    writeBytes(readOnly, "kept\r\n");
    ::chmod(m_dir.root().c_str(), 0755);
    ::chmod(readOnly.c_str(), 0444);
    // Root writes through any mode, so the attempt is made as an ordinary user.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::chown(readOnly.c_str(), 65534, 65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(at(readOnly).entry("refused") ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(readOnly), "kept\r\n");
}

}  // namespace
}  // namespace plintor
