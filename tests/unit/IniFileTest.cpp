#include "core/config/IniFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::string_literals;

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(IniFileKeysTest, KeysAreTrimmedAndAsciiCaseInsensitive) {
    const IniFile ini(
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

TEST(IniFileKeysTest, FirstOfDuplicatesIsReadWrittenAndAllAreDeleted) {
    IniFile ini("AutoReturn=5\nOther=1\nautoreturn = 7\n");
    EXPECT_EQ(ini.readInteger("AutoReturn", 0), 5);
    ini.writeString("AUTORETURN", " 9 ");
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"AUTORETURN=9", "Other=1", "autoreturn = 7"}));
    ini.deleteKey("AutoReturn");
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"Other=1"}));
    ini.writeString(" NewKey ", " v ");
    EXPECT_EQ(ini.lines().back(), "NewKey=v");
    ini.clear();
    EXPECT_TRUE(ini.lines().empty());
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

class IniFileBooleanTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(IniFileBooleanTest, Booleans) {
    const IniFile ini(GetParam().line != nullptr ? GetParam().line : "");
    if (GetParam().expected) {
        EXPECT_EQ(ini.readBoolean("b", !*GetParam().expected), *GetParam().expected);
        return;
    }
    EXPECT_TRUE(ini.readBoolean("b", true));
    EXPECT_FALSE(ini.readBoolean("b", false));
}

INSTANTIATE_TEST_SUITE_P(Values, IniFileBooleanTest, ::testing::ValuesIn(BooleanCases),
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

class IniFileIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniFileIntegerTest, IntegerGrammar) {
    const IniFile ini(std::string("n=") + GetParam().value);
    EXPECT_EQ(ini.readInteger("n", -99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IniFileIntegerTest, ::testing::ValuesIn(IntegerCases),
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

class IniFileTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(IniFileTimeTest, TimeGrammar) {
    const TimeCase& c = GetParam();
    const IniFile ini(std::string("t=") + c.value);
    if (c.hour == NoTime) {
        EXPECT_EQ(ini.readTime("t", -1), -1);
        return;
    }
    const double expected = encodeTime(c.hour, c.minute, c.second, c.millisecond);
    EXPECT_NEAR(ini.readTime("t", -1), expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Values, IniFileTimeTest, ::testing::ValuesIn(TimeCases), test::RowName());

TEST(IniFileReadersTest, DatesFloatsAndCurrency) {
    const test::FakeClock clock(encodeDate(2026, 12, 10));
    IniFile ini(
        "d=12/10/2026\nd2=1/2/30\nd3=1/2/80\nbad=2/30/2026\n"
        "dt=12/10/2026 15:30\nf=-1.5e3\nf2=.5\nbadf=1,5\nc=12.34565\n");
    ini.useClock(clock);
    EXPECT_EQ(ini.readDate("d"), encodeDate(2026, 12, 10));
    EXPECT_EQ(ini.readDate("d2"), encodeDate(2030, 1, 2));
    EXPECT_EQ(ini.readDate("d3"), encodeDate(1980, 1, 2));
    EXPECT_EQ(ini.readDate("bad", -1), -1);
    EXPECT_NEAR(ini.readDateTime("dt"), encodeDate(2026, 12, 10) + encodeTime(15, 30, 0, 0), 1e-9);
    EXPECT_EQ(ini.readFloat("f"), -1500);
    EXPECT_EQ(ini.readFloat("f2"), 0.5);
    EXPECT_EQ(ini.readFloat("badf", 7), 7);
    EXPECT_EQ(ini.readCurrency("c"), 123457);
}

TEST(IniFileWritersTest, FixedFormats) {
    IniFile ini("");
    ini.writeBoolean("b", true);
    ini.writeInteger("i", -5);
    ini.writeFloat("f", 1.5);
    ini.writeFloat("big", 1e20);
    ini.writeFloat("small", 1.5e-7);
    ini.writeCurrency("c", 125000);
    ini.writeCurrency("neg", -1);
    ini.writeDate("d", encodeDate(2026, 3, 7));
    ini.writeTime("t", encodeTime(3, 5, 9, 0));
    ini.writeDateTime("dt", encodeDate(2026, 3, 7) + encodeTime(15, 0, 0, 0));
    ini.writeDateTime("midnight", encodeDate(2026, 3, 7));
    EXPECT_EQ(ini.lines(),
              (std::vector<std::string>{"b=True", "i=-5", "f=1.5", "big=1E20", "small=1.5E-7",
                                        "c=12.5", "neg=-0.0001", "d=3/7/2026", "t=3:05:09",
                                        "dt=3/7/2026 15:00:00", "midnight=3/7/2026"}));
}

TEST(IniFileTest, LineBreaksAndTheEndOfText) {
    const IniFile ini("a=1\rb=2\nc=3\r\n\r\nd=4\0e=5\n"s);
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

class IniFileEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(IniFileEncodingTest, EncodingFollowsTheByteOrderMark) {
    TempDir dir;
    writeBytes(dir.path("plintor.ini"), GetParam().bytes);
    const IniFile ini(dir.path("plintor.ini"), false);
    EXPECT_EQ(ini.readString("Key"), "caf\xC3\xA9");
}

INSTANTIATE_TEST_SUITE_P(Files, IniFileEncodingTest, ::testing::ValuesIn(EncodingCases),
                         test::RowName());

TEST(IniFileTest, MissingFileRaisesUnlessItMayBeCreated) {
    TempDir dir;
    const std::string missing = dir.path("missing.ini");
    try {
        IniFile ini(missing, false);
        FAIL() << "a missing file must raise";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_FALSE(fileExists(missing));

    const std::string created = dir.path("new/folder/created.ini");
    const IniFile ini(created, true);
    EXPECT_TRUE(ini.lines().empty());
    EXPECT_EQ(readBytes(created), "");
}

TEST(IniFileTest, SaveWritesEveryLineWithTheEncodingsMark) {
    TempDir dir;
    const std::string file = dir.path("saved.ini");
    writeBytes(file, "A=1\nB=\xC3\xA9");
    IniFile ini(file, false);
    ini.saveIniFile();
    EXPECT_EQ(readBytes(file), "A=1\r\nB=\xC3\xA9\r\n");
    ini.saveIniFile(TextEncoding::Utf8);
    EXPECT_EQ(readBytes(file),
              "\xEF\xBB\xBF"
              "A=1\r\nB=\xC3\xA9\r\n");
    ini.saveIniFile(TextEncoding::Utf16Le);
    EXPECT_EQ(readBytes(file),
              "\xFF\xFE"
              "A\0=\0"
              "1\0\r\0\n\0B\0=\0\xE9\0\r\0\n\0"s);
    EXPECT_EQ(IniFile(file, false).readString("B"), "\xC3\xA9");
    ini.saveIniFile(TextEncoding::Utf16Be);
    EXPECT_TRUE(readBytes(file).starts_with("\xFE\xFF"));

    IniFile fromText("A=1");
    fromText.saveIniFile();  // nothing to save to, nothing raised

    IniFile unwritable(file, false);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(unwritable.saveIniFile(), EFCreateError);
}

}  // namespace
}  // namespace plintor
