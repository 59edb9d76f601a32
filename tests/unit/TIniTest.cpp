#include "core/config/TIni.h"

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

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;

TEST(TIniKeysTest, KeysAreTrimmedAndAsciiCaseInsensitive) {
    const TIni ini(
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
    EXPECT_EQ(ini.ReadString("Screensaver", "x"), "about:blank");
    EXPECT_EQ(ini.ReadString("empty", "default"), "");
    EXPECT_EQ(ini.ReadString("key"), "a=b");
    EXPECT_EQ(ini.ReadString("schl\xC3\xBC"
                             "ssel",
                             "x"),
              "1");
    EXPECT_EQ(ini.ReadString("SCHL\xC3\x9C"
                             "SSEL",
                             "x"),
              "x");                                       // no folding beyond ASCII
    EXPECT_EQ(ini.ReadString("Password", " d "), " d ");  // default untouched
    EXPECT_EQ(ini.ReadString("Section", "x"), "x");
    EXPECT_FALSE(ini.HasKey("[Section]"));
}

TEST(TIniKeysTest, FirstOfDuplicatesIsReadWrittenAndAllAreDeleted) {
    TIni ini("AutoReturn=5\nOther=1\nautoreturn = 7\n");
    EXPECT_EQ(ini.ReadInteger("AutoReturn", 0), 5);
    ini.WriteString("AUTORETURN", " 9 ");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"AUTORETURN=9", "Other=1", "autoreturn = 7"}));
    ini.DeleteKey("AutoReturn");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"Other=1"}));
    ini.WriteString(" NewKey ", " v ");
    EXPECT_EQ(ini.Lines().back(), "NewKey=v");
    ini.Clear();
    EXPECT_TRUE(ini.Lines().empty());
}

struct TBooleanCase {
    const char* Name;
    const char* Line;              // nullptr: no such key
    std::optional<bool> Expected;  // none: the default
};

const TBooleanCase BooleanCases[] = {
    {"LowerCaseTrue", "b=true", true},       {"UpperCaseTrue", "b=TRUE", true},
    {"BlanksAroundTrue", "b= True ", true},  {"False", "b=false", false},
    {"OneIsNoBoolean", "b=1", std::nullopt}, {"YesIsNoBoolean", "b=yes", std::nullopt},
    {"EmptyValue", "b=", std::nullopt},      {"MissingKey", nullptr, std::nullopt},
};

class TIniBooleanTest : public ::testing::TestWithParam<TBooleanCase> {};

TEST_P(TIniBooleanTest, Booleans) {
    const TIni ini(GetParam().Line != nullptr ? GetParam().Line : "");
    if (GetParam().Expected) {
        EXPECT_EQ(ini.ReadBoolean("b", !*GetParam().Expected), *GetParam().Expected);
        return;
    }
    EXPECT_TRUE(ini.ReadBoolean("b", true));
    EXPECT_FALSE(ini.ReadBoolean("b", false));
}

INSTANTIATE_TEST_SUITE_P(Values, TIniBooleanTest, ::testing::ValuesIn(BooleanCases),
                         test::TRowName());

struct TIntegerCase {
    const char* Name;
    const char* Value;
    std::int32_t Expected;  // -99 stands for the default
};

const TIntegerCase IntegerCases[] = {
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

class TIniIntegerTest : public ::testing::TestWithParam<TIntegerCase> {};

TEST_P(TIniIntegerTest, IntegerGrammar) {
    const TIni ini(std::string("n=") + GetParam().Value);
    EXPECT_EQ(ini.ReadInteger("n", -99), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Values, TIniIntegerTest, ::testing::ValuesIn(IntegerCases),
                         test::TRowName());

constexpr int NoTime = -1;

struct TTimeCase {
    const char* Name;
    const char* Value;
    int Hour, Minute, Second, Millisecond;  // Hour NoTime: not a time, the default is read
};

const TTimeCase TimeCases[] = {
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

class TIniTimeTest : public ::testing::TestWithParam<TTimeCase> {};

TEST_P(TIniTimeTest, TimeGrammar) {
    const TTimeCase& c = GetParam();
    const TIni ini(std::string("t=") + c.Value);
    if (c.Hour == NoTime) {
        EXPECT_EQ(ini.ReadTime("t", -1), -1);
        return;
    }
    const double expected = EncodeTime(c.Hour, c.Minute, c.Second, c.Millisecond);
    EXPECT_NEAR(ini.ReadTime("t", -1), expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Values, TIniTimeTest, ::testing::ValuesIn(TimeCases), test::TRowName());

TEST(TIniReadersTest, DatesFloatsAndCurrency) {
    const test::TFakeClock clock(EncodeDate(2026, 12, 10));
    TIni ini(
        "d=12/10/2026\nd2=1/2/30\nd3=1/2/80\nbad=2/30/2026\n"
        "dt=12/10/2026 15:30\nf=-1.5e3\nf2=.5\nbadf=1,5\nc=12.34565\n");
    ini.UseClock(clock);
    EXPECT_EQ(ini.ReadDate("d"), EncodeDate(2026, 12, 10));
    EXPECT_EQ(ini.ReadDate("d2"), EncodeDate(2030, 1, 2));
    EXPECT_EQ(ini.ReadDate("d3"), EncodeDate(1980, 1, 2));
    EXPECT_EQ(ini.ReadDate("bad", -1), -1);
    EXPECT_NEAR(ini.ReadDateTime("dt"), EncodeDate(2026, 12, 10) + EncodeTime(15, 30, 0, 0), 1e-9);
    EXPECT_EQ(ini.ReadFloat("f"), -1500);
    EXPECT_EQ(ini.ReadFloat("f2"), 0.5);
    EXPECT_EQ(ini.ReadFloat("badf", 7), 7);
    EXPECT_EQ(ini.ReadCurrency("c"), 123457);
}

TEST(TIniWritersTest, FixedFormats) {
    TIni ini("");
    ini.WriteBoolean("b", true);
    ini.WriteInteger("i", -5);
    ini.WriteFloat("f", 1.5);
    ini.WriteFloat("big", 1e20);
    ini.WriteFloat("small", 1.5e-7);
    ini.WriteCurrency("c", 125000);
    ini.WriteCurrency("neg", -1);
    ini.WriteDate("d", EncodeDate(2026, 3, 7));
    ini.WriteTime("t", EncodeTime(3, 5, 9, 0));
    ini.WriteDateTime("dt", EncodeDate(2026, 3, 7) + EncodeTime(15, 0, 0, 0));
    ini.WriteDateTime("midnight", EncodeDate(2026, 3, 7));
    EXPECT_EQ(ini.Lines(),
              (std::vector<std::string>{"b=True", "i=-5", "f=1.5", "big=1E20", "small=1.5E-7",
                                        "c=12.5", "neg=-0.0001", "d=3/7/2026", "t=3:05:09",
                                        "dt=3/7/2026 15:00:00", "midnight=3/7/2026"}));
}

TEST(TIniFileTest, LineBreaksAndTheEndOfText) {
    const TIni ini("a=1\rb=2\nc=3\r\n\r\nd=4\0e=5\n"s);
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"a=1", "b=2", "c=3", "", "d=4"}));
}

struct TEncodingCase {
    const char* Name;
    std::string Bytes;
};

const TEncodingCase EncodingCases[] = {
    {"Utf8Mark", "\xEF\xBB\xBFKey=caf\xC3\xA9\r\n"},
    {"Utf16LittleEndian", "\xFF\xFEK\0e\0y\0=\0c\0a\0f\0\xE9\0"s},
    {"Utf16BigEndian", "\xFE\xFF\0K\0e\0y\0=\0c\0a\0f\0\xE9"s},
    {"Utf8WithoutMark", "Key=caf\xC3\xA9"},
    {"Windows1252", "Key=caf\xE9"},
};

class TIniEncodingTest : public ::testing::TestWithParam<TEncodingCase> {};

TEST_P(TIniEncodingTest, EncodingFollowsTheByteOrderMark) {
    TTempDir dir;
    WriteBytes(dir.Path("plintor.ini"), GetParam().Bytes);
    const TIni ini(dir.Path("plintor.ini"), false);
    EXPECT_EQ(ini.ReadString("Key"), "caf\xC3\xA9");
}

INSTANTIATE_TEST_SUITE_P(Files, TIniEncodingTest, ::testing::ValuesIn(EncodingCases),
                         test::TRowName());

TEST(TIniFileTest, MissingFileRaisesUnlessItMayBeCreated) {
    TTempDir dir;
    const std::string missing = dir.Path("missing.ini");
    try {
        TIni ini(missing, false);
        FAIL() << "a missing file must raise";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_FALSE(FileExists(missing));

    const std::string created = dir.Path("new/folder/created.ini");
    const TIni ini(created, true);
    EXPECT_TRUE(ini.Lines().empty());
    EXPECT_EQ(ReadBytes(created), "");
}

TEST(TIniFileTest, SaveWritesEveryLineWithTheEncodingsMark) {
    TTempDir dir;
    const std::string file = dir.Path("saved.ini");
    WriteBytes(file, "A=1\nB=\xC3\xA9");
    TIni ini(file, false);
    ini.SaveIniFile();
    EXPECT_EQ(ReadBytes(file), "A=1\r\nB=\xC3\xA9\r\n");
    ini.SaveIniFile(TTextEncoding::Utf8);
    EXPECT_EQ(ReadBytes(file),
              "\xEF\xBB\xBF"
              "A=1\r\nB=\xC3\xA9\r\n");
    ini.SaveIniFile(TTextEncoding::Utf16Le);
    EXPECT_EQ(ReadBytes(file),
              "\xFF\xFE"
              "A\0=\0"
              "1\0\r\0\n\0B\0=\0\xE9\0\r\0\n\0"s);
    EXPECT_EQ(TIni(file, false).ReadString("B"), "\xC3\xA9");
    ini.SaveIniFile(TTextEncoding::Utf16Be);
    EXPECT_TRUE(ReadBytes(file).starts_with("\xFE\xFF"));

    TIni fromText("A=1");
    fromText.SaveIniFile();  // nothing to save to, nothing raised

    TIni unwritable(file, false);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(unwritable.SaveIniFile(), EFCreateError);
}

}  // namespace
}  // namespace plintor
