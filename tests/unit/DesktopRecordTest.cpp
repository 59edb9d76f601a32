#include "core/lockdown/DesktopRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/lockdown/DesktopRecordFile.h"
#include "core/support/FileIO.h"

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"
#ifndef _WIN32
#include "tests/support/ChildProcess.h"
#include "tests/support/SmallFileSystem.h"
#endif

namespace plintor {
namespace {

TEST(DesktopRecordTest, EveryTextComesBackAsItWas) {
    DesktopRecord record;
    record.stoppedShell.push_back({{"tint2", "-c", "/etc/xdg/tint2/tint2rc"},
                                   "/home/kiosk",
                                   {"DISPLAY=:0", "ODD=100% \n\r\t\x7f end", ""},
                                   "/usr/bin/tint2"});
    record.stoppedShell.push_back({{"", "arg with blanks"}, "", {}, ""});
    record.powerSavingWasOn = true;
    const std::string text = formatDesktopRecord(record);
    EXPECT_EQ(parseDesktopRecord(text), record) << text;
    EXPECT_EQ(parseDesktopRecord(formatDesktopRecord({})), DesktopRecord{});
}

TEST(DesktopRecordTest, ACutRecordIsNoRecord) {
    DesktopRecord record;
    record.stoppedShell.push_back({{"tint2"}, "/", {"A=1"}, "/usr/bin/tint2"});
    const std::string text = formatDesktopRecord(record);
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        EXPECT_FALSE(parseDesktopRecord(text.substr(0, cut))) << "cut at " << cut;
    }
}

// Right at the limit a record is read; one byte more and it is damaged, whatever it holds.
TEST(DesktopRecordTest, ARecordOverTheLimitIsDamaged) {
    test::TempDir dir;
    const std::string name = dir.path("plintor.state");
    DesktopRecord record;
    record.stoppedShell.push_back({{"tint2", ""}, "/", {}, "/usr/bin/tint2"});
    std::string& argument = record.stoppedShell[0].arguments[1];
    argument.assign(MaxDesktopRecordSize - formatDesktopRecord(record).size(), 'a');
    test::writeBytes(name, formatDesktopRecord(record));
    EXPECT_EQ(readDesktopRecord(name), record);

    argument += 'a';
    test::writeBytes(name, formatDesktopRecord(record));
    EXPECT_FALSE(readDesktopRecord(name));
    EXPECT_TRUE(DesktopRecordFile().keepIn(name).damaged);
    EXPECT_FALSE(parseDesktopRecord(formatDesktopRecord(record)));
    EXPECT_FALSE(readDesktopRecord(dir.path("missing")));
}

#ifndef _WIN32
// A record of 3 GiB (holes) is found damaged without being read: far less address space than
// the file takes is enough.
TEST(DesktopRecordTest, AHugeRecordIsNeverReadWhole) {
    test::TempDir dir;
    const std::string name = dir.path("plintor.state");
    test::writeBytes(name, "");
    std::filesystem::resize_file(name, 3ULL << 30);
    EXPECT_EQ(test::inChild([&] {
                  test::limitAddressSpace(256u << 20);
                  return readDesktopRecord(name) ? 1 : 0;
              }),
              0);
}
#endif

struct DamageCase {
    const char* name;
    const char* text;
};

const DamageCase DamageCases[] = {
    {"NotARecord", "not a record\nend\n"},
    {"ArgumentOutsideAShell", "Plintor desktop record 1\nargument x\nend\n"},
    {"BadEscape", "Plintor desktop record 1\nshell\nargument %zz\nend\n"},
    {"UnknownLine", "Plintor desktop record 1\nshell\nunknown x\nend\n"},
    {"TextAfterTheEnd", "Plintor desktop record 1\nend\nmore\n"},
};

class DamagedDesktopRecordTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedDesktopRecordTest, ADamagedRecordIsNoRecord) {
    EXPECT_FALSE(parseDesktopRecord(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedDesktopRecordTest, ::testing::ValuesIn(DamageCases),
                         test::RowName());

DesktopRecord panelRecord(const std::string& argument) {
    DesktopRecord record;
    record.stoppedShell.push_back({{"tint2", argument}, "/", {"DISPLAY=:0"}, "/usr/bin/tint2"});
    return record;
}

#ifndef _WIN32
// A record that does not fit on the disk is not written, says why, and leaves the one there
// whole: the caller then leaves the shell running.
class FullDiskRecordTest : public test::SmallFileSystemTest {};

TEST_F(FullDiskRecordTest, ARecordThatDoesNotFitSaysWhyAndLeavesTheOldOne) {
    DesktopRecordFile file;
    const std::string name = m_dir.path("plintor.state");
    EXPECT_FALSE(file.keepIn(name).record);
    ASSERT_EQ(file.save(panelRecord("first")), "");
    ASSERT_TRUE(writeFileWhole(m_dir.path("filler"), std::string(PageSize * 3, 'x')));

    const std::string why = file.save(panelRecord(std::string(PageSize * 2, 'y')));
    EXPECT_NE(why.find(name + " cannot be written: "), std::string::npos) << why;
    EXPECT_NE(why.find("No space left on device"), std::string::npos) << why;
    DesktopRecordFile next;
    EXPECT_EQ(next.keepIn(name).record, panelRecord("first")) << "the old record was damaged";
    EXPECT_FALSE(std::filesystem::exists(name + ".new"));
}
#endif

TEST(DesktopRecordFileTest, AnEmptyRecordRemovesTheFileAndADamagedOneIsSaid) {
    test::TempDir folder;
    const std::string name = folder.path("plintor.state");
    DesktopRecordFile file;
    EXPECT_EQ(file.save(panelRecord("x")), "") << "no file is kept yet";
    EXPECT_FALSE(std::filesystem::exists(name));
    file.keepIn(name);
    ASSERT_EQ(file.save(panelRecord("x")), "");
    EXPECT_EQ(DesktopRecordFile().keepIn(name).record, panelRecord("x"));
    EXPECT_EQ(file.save({}), "");
    EXPECT_FALSE(std::filesystem::exists(name));

    std::ofstream(name) << "Plintor desktop record 1\nshell\n";
    const DesktopRecordFile::Leftover damaged = DesktopRecordFile().keepIn(name);
    EXPECT_TRUE(damaged.damaged);
    EXPECT_FALSE(damaged.record);
}

}  // namespace
}  // namespace plintor
