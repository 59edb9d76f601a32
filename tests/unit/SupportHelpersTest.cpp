#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/support/DateTime.h"
#include "core/support/FileHelpers.h"
#include "core/support/HtmlColor.h"
#include "core/support/Log.h"
#include "core/support/ScreenScale.h"
#include "core/support/StringHelpers.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;

TEST(HexTest, FixedWidthUpperCase) {
    EXPECT_EQ(HexOf32(0), "00000000");
    EXPECT_EQ(HexOf32(4294967295u), "FFFFFFFF");
    EXPECT_EQ(HexOf32(1033), "00000409");
    EXPECT_EQ(HexOf16(0xAB0C), "AB0C");
    EXPECT_EQ(HexOf8(0x0F), "0F");
}

TEST(MajorVersionTest, FirstNumberOrZero) {
    EXPECT_EQ(MajorVersion("11.0.17134.1"), 11);
    EXPECT_EQ(MajorVersion("9"), 9);
    EXPECT_EQ(MajorVersion(""), 0);
    EXPECT_EQ(MajorVersion("beta.1"), 0);
}

TEST(ParseHtmlColorTest, ReadsRedGreenBlueIntoAWindowsColour) {
    constexpr TColor fallback = 0x123456;
    EXPECT_EQ(ParseHtmlColor("#FF0000", fallback), 0x0000FF);  // red in the lowest byte
    EXPECT_EQ(ParseHtmlColor("#FF8000", fallback), 0x0080FF);
    EXPECT_EQ(ParseHtmlColor("ff", fallback), 0xFF0000);  // 0000ff: blue
    EXPECT_EQ(ParseHtmlColor("  # 00ff00 ", fallback), 0x00FF00);
    EXPECT_EQ(ParseHtmlColor("#12FF0000", fallback), 0x0000FF);  // the last six digits count
    for (const char* invalid : {"#", "   ", "", "red", "#GG0000", "-12345"}) {
        EXPECT_EQ(ParseHtmlColor(invalid, fallback), fallback) << invalid;
    }
}

TEST(ScreenScaleTest, ClassesAndValues) {
    EXPECT_EQ(ScaleClass(96), 100);
    EXPECT_EQ(ScaleClass(120), 100);
    EXPECT_EQ(ScaleClass(143), 100);
    EXPECT_EQ(ScaleClass(144), 150);
    EXPECT_EQ(ScaleClass(191), 150);
    EXPECT_EQ(ScaleClass(192), 200);
    EXPECT_EQ(ScaleClass(300), 200);
    EXPECT_EQ(ScaleValue(120, 96), 120);
    EXPECT_EQ(ScaleValue(120, 144), 180);
    EXPECT_EQ(ScaleValue(49, 120), 61);  // truncated
}

TEST(ProgramBaseNameTest, DropsFolderAndLastExtension) {
    EXPECT_EQ(ProgramBaseName("/opt/kiosk/plintor"), "plintor");
    EXPECT_EQ(ProgramBaseName("/opt/kiosk/my.kiosk.exe"), "my.kiosk");
    EXPECT_EQ(ProgramBaseName("plintor.bin"), "plintor");
    EXPECT_EQ(ProgramBaseName("/opt/my.dir/plintor"), "plintor");
}

TEST(FileNameTest, ExtensionsAndLogName) {
    EXPECT_EQ(ChangeFileExt("/opt/kiosk/plintor", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(ChangeFileExt("/opt/kiosk/plintor.bin", ".log"), "/opt/kiosk/plintor.log");
    EXPECT_EQ(ChangeFileExt("/opt/my.dir/plintor", ".log"), "/opt/my.dir/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", ""), "/opt/kiosk/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", "/srv/home"), "/srv/home/plintor.log");
    EXPECT_EQ(LogFileNameFor("/opt/kiosk/plintor", "/srv/home/"), "/srv/home/plintor.log");
}

TEST(CopyFileIfMissingTest, NeverOverwritesAndCreatesNothingOnFailure) {
    TTempDir dir;
    WriteBytes(dir.Path("target"), "operator's own");
    EXPECT_TRUE(CopyFileIfMissing(dir.Path("no-source"), dir.Path("target")));
    EXPECT_EQ(ReadBytes(dir.Path("target")), "operator's own");

    EXPECT_FALSE(CopyFileIfMissing(dir.Path("no-source"), dir.Path("new")));
    EXPECT_FALSE(FileExists(dir.Path("new")));

    WriteBytes(dir.Path("source"), "default");
    EXPECT_TRUE(CopyFileIfMissing(dir.Path("source"), dir.Path("new")));
    EXPECT_EQ(ReadBytes(dir.Path("new")), "default");
}

TEST(DeleteFileForcedTest, RemovesAReadOnlyFile) {
    TTempDir dir;
    const std::string file = dir.Path("readonly.pdf");
    WriteBytes(file, "x");
    ::chmod(file.c_str(), 0444);
    DeleteFileForced(file);
    EXPECT_FALSE(FileExists(file));
    DeleteFileForced(file);  // a missing file is no error
}

TEST(DateTimeTest, DayCountsFromTheEpoch) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    const TDateTimeParts parts =
        DecodeDateTime(EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 999));
    EXPECT_EQ(parts.Year, 2024);
    EXPECT_EQ(parts.Month, 2);
    EXPECT_EQ(parts.Day, 29);
    EXPECT_EQ(parts.Hour, 23);
    EXPECT_EQ(parts.Minute, 59);
    EXPECT_EQ(parts.Second, 59);
    EXPECT_EQ(parts.Millisecond, 999);
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_EQ(DateOf(EncodeDate(2026, 12, 10) + 0.75), EncodeDate(2026, 12, 10));
}

}  // namespace
}  // namespace plintor
