#include "core/support/Log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/support/Exceptions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TFakeClock;
using test::TTempDir;
using test::WriteBytes;

// 10 December 2026, 14:05:09.250 in the C locale's formats.
const TDateTime kAfternoon = EncodeDate(2026, 12, 10) + EncodeTime(14, 5, 9, 250);
const std::string kStamp = "12/10/26 14:05:09";

class LogTest : public ::testing::Test {
protected:
    TLogWriter At(const std::string& fileName) const { return TLogWriter(fileName, Clock); }

    TTempDir Dir;
    TFakeClock Clock{kAfternoon};
    std::string File = Dir.Path("plintor.log");
    TLogWriter Log = At(File);
};

TEST_F(LogTest, CreatesMissingFoldersAndWritesNoByteOrderMark) {
    const std::string nested = Dir.Path("logs/sub/plintor.log");
    EXPECT_TRUE(At(nested).Plain("first"));
    EXPECT_EQ(ReadBytes(nested), "first\r\n");
}

struct TFormCase {
    const char* Name;
    bool (*Write)(const TLogWriter&, std::string_view);
    std::string Text;
    std::string Expected;
};

class LogFormTest : public LogTest, public ::testing::WithParamInterface<TFormCase> {};

TEST_P(LogFormTest, ComposesTheEntry) {
    ASSERT_TRUE(GetParam().Write(Log, GetParam().Text));
    EXPECT_EQ(ReadBytes(File), GetParam().Expected);
}

bool Plain(const TLogWriter& log, std::string_view t) {
    return log.Plain(t);
}
bool Stamped(const TLogWriter& log, std::string_view t) {
    return log.Stamped(t);
}
bool Entry(const TLogWriter& log, std::string_view t) {
    return log.Entry(t);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LogFormTest,
    ::testing::Values(TFormCase{"PlainEmptyIsALineEnd", Plain, "", "\r\n"},
                      TFormCase{"StampedEmptyKeepsTheTwoBlanks", Stamped, "", kStamp + "  \r\n"},
                      TFormCase{"PlainKeepsItsOwnLineEnd", Plain, "x\r\n", "x\r\n"},
                      TFormCase{"StampedKeepsItsOwnLineEnd", Stamped, "x\r\n", kStamp + "  x\r\n"},
                      TFormCase{"EntryAddsOnlyTheEmptyLine", Entry, "x\r\n",
                                kStamp + "\r\nx\r\n\r\n"},
                      TFormCase{"LoneLineFeedIsNotALineEnd", Plain, "x\n", "x\n\r\n"},
                      TFormCase{"OneCharacter", Plain, "\r", "\r\r\n"},
                      TFormCase{"EntryForm", Entry, "Return to home page",
                                kStamp + "\r\nReturn to home page\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(LogTest, StampLeavesOutTheTimeAtMidnight) {
    Clock.Set(EncodeDate(2026, 12, 10));
    EXPECT_EQ(LogTimeStamp(Clock.Now()), "12/10/26");
    Clock.Set(EncodeDate(2026, 12, 10) + EncodeTime(0, 0, 0, 1));
    EXPECT_EQ(LogTimeStamp(Clock.Now()), "12/10/26 00:00:00");
}

struct TTrimCase {
    const char* Name;
    std::string Old;
    std::string Text;
    std::int64_t MaxSize;
    std::string Expected;
};

class LogTrimTest : public LogTest, public ::testing::WithParamInterface<TTrimCase> {};

TEST_P(LogTrimTest, KeepsASuffixThatStartsAtALine) {
    WriteBytes(File, GetParam().Old);
    ASSERT_TRUE(Log.Plain(GetParam().Text, GetParam().MaxSize));
    EXPECT_EQ(ReadBytes(File), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, LogTrimTest,
    ::testing::Values(
        TTrimCase{"CutMovesToTheNextLine", "aaaa\r\nbbbb\r\ncccc\r\n", "dd", 20,
                  "bbbb\r\ncccc\r\ndd\r\n"},
        TTrimCase{"CutOnALineFeedSeesTheNextPair", "aaa\r\nbbb\r\nccc", "cc", 13, "ccccc\r\n"},
        TTrimCase{"EmptyLinesAfterTheCutAreSkipped", "aa\r\n\r\n\r\nbb\r\n", "c", 12,
                  "bb\r\nc\r\n"},
        TTrimCase{"NoLineEndCutsAtTheExactByte", "abcdefghij", "x", 10, "defghijx\r\n"},
        TTrimCase{"NoTrimWhenItFits", "abc\r\n", "d", 8, "abc\r\nd\r\n"},
        TTrimCase{"LongEntryEmptiesTheFile", "ab", "1234567", 10, "1234567\r\n"},
        TTrimCase{"LongEntryAgainstOneByteIsNotTrimmed", "a", "1234567", 10, "a1234567\r\n"},
        TTrimCase{"ZeroCapNeverTrims", "abc\r\n", "d", 0, "abc\r\nd\r\n"},
        TTrimCase{"LengthCountsCharactersNotBytes", "abcdefgh", "\xC3\xA9", 11,
                  "abcdefgh\xC3\xA9\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(LogTest, FullSizeFileKeepsEverythingAfterTheFirstLineEndPastTheCut) {
    std::string old;
    for (int line = 0; line < 1020; ++line) {
        old += std::string(98, 'x') + "\r\n";  // 102000 bytes, line ends at 98, 198, ...
    }
    WriteBytes(File, old);
    const std::string entry = std::string(998, 'e') + "\r\n";
    ASSERT_TRUE(Log.Plain(entry));
    EXPECT_EQ(ReadBytes(File), old.substr(700) + entry);  // cut 600 -> line end at 698
}

TEST_F(LogTest, OneHugeEntryCannotPushTheHistoryOut) {
    std::string history;
    for (int line = 0; line < 600; ++line) {
        history += "entry " + std::to_string(line) + "\r\n";
    }
    WriteBytes(File, history);
    ASSERT_TRUE(Log.Entry("BeforeNavigate: http://host/?" + std::string(150000, 'q') + " (True)"));
    const std::string log = ReadBytes(File);
    EXPECT_EQ(log.substr(0, history.size()), history) << "the older entries stay";
    EXPECT_LT(log.size(), history.size() + MaxLogEntryText + 100);
    EXPECT_NE(log.find("qqq\xE2\x80\xA6\r\n\r\n"), std::string::npos) << "the cut is marked";
}

TEST(BoundedLogTextTest, CutsAtACharacterBoundary) {
    EXPECT_EQ(BoundedLogText("short"), "short");
    EXPECT_EQ(BoundedLogText(std::string(MaxLogEntryText, 'a')), std::string(MaxLogEntryText, 'a'));
    const std::string euros = std::string(MaxLogEntryText - 1, 'a') + "\xE2\x82\xAC\xE2\x82\xAC";
    EXPECT_EQ(BoundedLogText(euros), std::string(MaxLogEntryText - 1, 'a') + "\xE2\x80\xA6");
}

TEST_F(LogTest, ExceptionEntryNamesTheClass) {
    struct EEmptyMessage : std::exception {
        const char* what() const noexcept override { return ""; }
    };
    ASSERT_TRUE(Log.Exception(EEmptyMessage()));
    EXPECT_EQ(ReadBytes(File), kStamp + "\r\nEEmptyMessage: \r\n\r\n");
}

TEST_F(LogTest, FileErrorsNameTheirClass) {
    ASSERT_TRUE(Log.Exception(EFOpenError("/no/such/file.ini", ENOENT)));
    EXPECT_EQ(ReadBytes(File), kStamp +
                                   "\r\nEFOpenError: Cannot open file \"/no/such/file.ini\". "
                                   "No such file or directory\r\n\r\n");
}

TEST(ProgramLogTest, WritesNowhereBeforeItIsStarted) {
    EXPECT_FALSE(LogPlain("no log file name"));
    EXPECT_FALSE(LogEntry("no log file name"));
}

TEST_F(LogTest, UnwritableTargetsGiveFalseAndChangeNothing) {
    EXPECT_FALSE(At(Dir.Path("")).Plain("a folder is not a log file"));

    const std::string readOnly = Dir.Path("readonly.log");
    WriteBytes(readOnly, "kept\r\n");
    ::chmod(Dir.Root().c_str(), 0755);
    ::chmod(readOnly.c_str(), 0444);
    // Root writes through any mode, so the attempt is made as an ordinary user.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::chown(readOnly.c_str(), 65534, 65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(At(readOnly).Entry("refused") ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(readOnly), "kept\r\n");
}

}  // namespace
}  // namespace plintor
