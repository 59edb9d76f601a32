#include "core/lockdown/DesktopRecord.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(DesktopRecordTest, EveryTextComesBackAsItWas) {
    TDesktopRecord record;
    record.StoppedShell.push_back({{"tint2", "-c", "/etc/xdg/tint2/tint2rc"},
                                   "/home/kiosk",
                                   {"DISPLAY=:0", "ODD=100% \n\r\t\x7f end", ""},
                                   "/usr/bin/tint2"});
    record.StoppedShell.push_back({{"", "arg with blanks"}, "", {}, ""});
    record.PowerSavingWasOn = true;
    const std::string text = FormatDesktopRecord(record);
    EXPECT_EQ(ParseDesktopRecord(text), record) << text;
    EXPECT_EQ(ParseDesktopRecord(FormatDesktopRecord({})), TDesktopRecord{});
}

TEST(DesktopRecordTest, ACutRecordIsNoRecord) {
    TDesktopRecord record;
    record.StoppedShell.push_back({{"tint2"}, "/", {"A=1"}, "/usr/bin/tint2"});
    const std::string text = FormatDesktopRecord(record);
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        EXPECT_FALSE(ParseDesktopRecord(text.substr(0, cut))) << "cut at " << cut;
    }
}

struct TDamageCase {
    const char* Name;
    const char* Text;
};

const TDamageCase DamageCases[] = {
    {"NotARecord", "not a record\nend\n"},
    {"ArgumentOutsideAShell", "Plintor desktop record 1\nargument x\nend\n"},
    {"BadEscape", "Plintor desktop record 1\nshell\nargument %zz\nend\n"},
    {"UnknownLine", "Plintor desktop record 1\nshell\nunknown x\nend\n"},
    {"TextAfterTheEnd", "Plintor desktop record 1\nend\nmore\n"},
};

class DamagedDesktopRecordTest : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DamagedDesktopRecordTest, ADamagedRecordIsNoRecord) {
    EXPECT_FALSE(ParseDesktopRecord(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedDesktopRecordTest, ::testing::ValuesIn(DamageCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
