#include "core/lockdown/DesktopRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/lockdown/DesktopRecordFile.h"
#include "core/support/FileIO.h"

#include "tests/support/RowName.h"
#include "tests/support/SmallFileSystem.h"

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
