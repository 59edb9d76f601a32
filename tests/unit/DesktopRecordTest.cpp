#include "core/lockdown/DesktopRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"
#ifndef _WIN32
#include "tests/support/ChildProcess.h"
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

}  // namespace
}  // namespace plintor
