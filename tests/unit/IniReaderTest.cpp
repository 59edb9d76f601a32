#include "core/config/IniReader.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/config/IniFormat.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

using test::TempDir;
using test::writeBytes;

TEST(IniReaderKeysTest, KeysAreTrimmedAndAsciiCaseInsensitive) {
    const IniReader ini(
        "  screensaver =  about:blank  \n"
        "Empty=\n"
        "KEY=a=b\n"
        "Schl\xC3\xBC"
        "ssel=1\n"
        "[Section]\n"
        ";Password=1\n"
        "#Password=2\n"
        "\n"
        "no equals sign here\n");
    EXPECT_EQ(ini.readString("Screensaver", "x"), "about:blank");
    EXPECT_EQ(ini.readString("empty", "default"), "");
    EXPECT_EQ(ini.readString("key"), "a=b");
    EXPECT_EQ(ini.readString("schl\xC3\xBC"
                             "ssel",
                             "x"),
              "1");
    EXPECT_EQ(ini.readString("SCHL\xC3\x9C"
                             "SSEL",
                             "x"),
              "x");                                       // no folding beyond ASCII
    EXPECT_EQ(ini.readString("Password", " d "), " d ");  // default untouched
    EXPECT_EQ(ini.readString("Section", "x"), "x");
    EXPECT_FALSE(ini.hasKey("[Section]"));
}

TEST(IniReaderKeysTest, FirstOfDuplicatesIsRead) {
    const IniReader ini("AutoReturn=5\nOther=1\nautoreturn = 7\n");
    EXPECT_EQ(ini.readInteger("AutoReturn", 0), 5);
}

struct BooleanCase {
    const char* name;
    const char* line;              // nullptr: no such key
    std::optional<bool> expected;  // none: the default
};

const BooleanCase BooleanCases[] = {
    {"LowerCaseTrue", "b=true", true},       {"UpperCaseTrue", "b=TRUE", true},
    {"BlanksAroundTrue", "b= True ", true},  {"False", "b=false", false},
    {"OneIsNoBoolean", "b=1", std::nullopt}, {"YesIsNoBoolean", "b=yes", std::nullopt},
    {"EmptyValue", "b=", std::nullopt},      {"MissingKey", nullptr, std::nullopt},
};

class IniReaderBooleanTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(IniReaderBooleanTest, Booleans) {
    const IniReader ini(GetParam().line != nullptr ? GetParam().line : "");
    if (GetParam().expected) {
        EXPECT_EQ(ini.readBoolean("b", !*GetParam().expected), *GetParam().expected);
        return;
    }
    EXPECT_TRUE(ini.readBoolean("b", true));
    EXPECT_FALSE(ini.readBoolean("b", false));
}

INSTANTIATE_TEST_SUITE_P(Values, IniReaderBooleanTest, ::testing::ValuesIn(BooleanCases),
                         test::RowName());

struct IntegerCase {
    const char* name;
    const char* value;
    std::int32_t expected;  // -99 stands for the default
};

const IntegerCase IntegerCases[] = {
    {"Decimal", "42", 42},
    {"PlusSign", "+5", 5},
    {"MinusSign", "-17", -17},
    {"HexWithZeroX", "0x1F", 31},
    {"HexWithUpperCaseX", "0X1f", 31},
    {"HexWithDollar", "$10", 16},
    {"HexWithX", "x10", 16},
    {"NegativeHex", "-$10", -16},
    {"HexWrapsToNegative", "$FFFFFFFF", -1},
    {"Largest", "2147483647", 2147483647},
    {"Smallest", "-2147483648", INT32_MIN},
    {"OnePastTheLargest", "2147483648", -99},
    {"FarTooLarge", "99999999999", -99},
    {"TrailingLetters", "12abc", -99},
    {"EmptyValue", "", -99},
    {"BlankInside", "1 2", -99},
    {"HexPrefixAlone", "0x", -99},
    {"HexPast32Bits", "$1FFFFFFFF", -99},
    {"Fraction", "1.5", -99},
};

class IniReaderIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniReaderIntegerTest, IntegerGrammar) {
    const IniReader ini(std::string("n=") + GetParam().value);
    EXPECT_EQ(ini.readInteger("n", -99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IniReaderIntegerTest, ::testing::ValuesIn(IntegerCases),
                         test::RowName());

constexpr int NoTime = -1;

struct TimeCase {
    const char* name;
    const char* value;
    int hour, minute, second, millisecond;  // Hour NoTime: not a time, the default is read
};

const TimeCase TimeCases[] = {
    {"HourAndMinute", "3:00", 3, 0, 0, 0},
    {"LeadingZeros", "03:00:00", 3, 0, 0, 0},
    {"Am", "3:00 am", 3, 0, 0, 0},
    {"UpperCaseAm", "3:00 AM", 3, 0, 0, 0},
    {"Afternoon", "15:30", 15, 30, 0, 0},
    {"HourAndPm", "3 pm", 15, 0, 0, 0},
    {"Milliseconds", "3:00:00.500", 3, 0, 0, 500},
    {"TwelveAmIsMidnight", "12 am", 0, 0, 0, 0},
    {"TwelvePmIsNoon", "12 pm", 12, 0, 0, 0},
    {"PmFirst", "pm 1:15", 13, 15, 0, 0},
    {"Midnight", "0:00", 0, 0, 0, 0},
    {"LastSecond", "23:59:59", 23, 59, 59, 0},
    {"HourPast23", "25:00", NoTime, 0, 0, 0},
    {"MinutePast59", "3:60", NoTime, 0, 0, 0},
    {"NoMinute", "3:", NoTime, 0, 0, 0},
    {"Word", "noon", NoTime, 0, 0, 0},
    {"ZeroPm", "0 pm", NoTime, 0, 0, 0},
    {"ThirteenPm", "13 pm", NoTime, 0, 0, 0},
    {"EmptyValue", "", NoTime, 0, 0, 0},
    {"FourParts", "3:00:00:00", NoTime, 0, 0, 0},
    {"Hour24", "24:00", NoTime, 0, 0, 0},
    {"NumberWithoutColon", "12345", NoTime, 0, 0, 0},
    {"UnknownMarker", "3:00 xm", NoTime, 0, 0, 0},
    {"MarkerTwice", "3 pm pm", NoTime, 0, 0, 0},
};

class IniReaderTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(IniReaderTimeTest, TimeGrammar) {
    const TimeCase& c = GetParam();
    const IniReader ini(std::string("t=") + c.value);
    if (c.hour == NoTime) {
        EXPECT_EQ(ini.readTime("t"), std::nullopt);
        return;
    }
    EXPECT_EQ(ini.readTime("t"), std::chrono::hours(c.hour) + std::chrono::minutes(c.minute) +
                                     std::chrono::seconds(c.second) +
                                     std::chrono::milliseconds(c.millisecond));
}

INSTANTIATE_TEST_SUITE_P(Values, IniReaderTimeTest, ::testing::ValuesIn(TimeCases),
                         test::RowName());

// As --check-config shows a time of day.
TEST(IniFormatTest, TimeOfDayIsWrittenAsHoursMinutesAndSeconds) {
    EXPECT_EQ(formatIniTime(3h + 5min + 9s), "3:05:09");
}

TEST(IniReaderTest, LineBreaksAndTheEndOfText) {
    const IniReader ini("a=1\rb=2\nc=3\r\n\r\nd=4\0e=5\n"s);
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"a=1", "b=2", "c=3", "", "d=4"}));
}

struct EncodingCase {
    const char* name;
    std::string bytes;
};

const EncodingCase EncodingCases[] = {
    {"Utf8Mark", "\xEF\xBB\xBFKey=caf\xC3\xA9\r\n"},
    {"Utf16LittleEndian", "\xFF\xFEK\0e\0y\0=\0c\0a\0f\0\xE9\0"s},
    {"Utf16BigEndian", "\xFE\xFF\0K\0e\0y\0=\0c\0a\0f\0\xE9"s},
    {"Utf8WithoutMark", "Key=caf\xC3\xA9"},
    {"Windows1252", "Key=caf\xE9"},
};

class IniReaderEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(IniReaderEncodingTest, EncodingFollowsTheByteOrderMark) {
    TempDir dir;
    writeBytes(dir.path("plintor.ini"), GetParam().bytes);
    const IniReader ini = IniReader::fromFile(dir.path("plintor.ini"));
    EXPECT_EQ(ini.readString("Key"), "caf\xC3\xA9");
}

INSTANTIATE_TEST_SUITE_P(Files, IniReaderEncodingTest, ::testing::ValuesIn(EncodingCases),
                         test::RowName());

TEST(IniReaderTest, MissingFileRaises) {
    TempDir dir;
    const std::string missing = dir.path("missing.ini");
    try {
        IniReader::fromFile(missing);
        FAIL() << "a missing file must raise";
    } catch (const FileError& error) {
        EXPECT_EQ(error.kind(), FileError::Kind::Open);
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_FALSE(fileExists(missing));
}

}  // namespace
}  // namespace plintor
