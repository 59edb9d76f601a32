#include "core/lockdown/DesktopRecord.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

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

}  // namespace
}  // namespace plintor
