#include "core/app/KioskMessage.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

using namespace std::string_literals;

TEST(KioskMessageTest, RoundTripsAndReadsTextOnlyUpToItsLength) {
    const KioskMessage navigate{MessageKind::CopyData, 0, 0, "http://host/caf\xC3\xA9?a=1 2"};
    EXPECT_EQ(decodeKioskMessage(encodeKioskMessage(navigate)), navigate);
    const KioskMessage quit{MessageKind::RemoteQuit, 243120, -5, ""};
    EXPECT_EQ(decodeKioskMessage(encodeKioskMessage(quit)), quit);

    EXPECT_EQ(decodeKioskMessage("PLINTOR/1 74 0 0 4\nhttp://longer")->text, "http");
    EXPECT_EQ(decodeKioskMessage("PLINTOR/1 74 0 0 99\nhttp://a/\0junk"s)->text, "http://a/");
}

// A number the kiosk does not know stays that number, so that no handler takes it for one it
// knows; the router passes it by.
TEST(KioskMessageTest, UnknownKindKeepsItsNumber) {
    const std::optional<KioskMessage> unknown = decodeKioskMessage("PLINTOR/1 4294967295 1 2 0\n");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(messageNumber(unknown->kind), 4294967295u);
    EXPECT_EQ(encodeKioskMessage(*unknown), "PLINTOR/1 4294967295 1 2 0\n");
}

// Other programs speak these numbers (see README); they must not move.
TEST(KioskMessageTest, OperatorRequestsOnTheWire) {
    EXPECT_EQ(encodeKioskMessage({MessageKind::StatusRequest, 0, 0, ""}), "PLINTOR/1 1285 0 0 0\n");
    EXPECT_EQ(encodeKioskMessage({MessageKind::StatusReply, 0, 0, "{}"}),
              "PLINTOR/1 1286 0 0 2\n{}");
    EXPECT_EQ(encodeKioskMessage({MessageKind::ReloadLists, 0, 0, ""}), "PLINTOR/1 1287 0 0 0\n");
    EXPECT_EQ(encodeKioskMessage({MessageKind::Screenshot, 0, 0, "/a.png"}),
              "PLINTOR/1 1288 0 0 6\n/a.png");
    EXPECT_EQ(encodeKioskMessage({MessageKind::ScreenshotReply, 0, 0, ""}),
              "PLINTOR/1 1289 0 0 0\n");
}

struct BadCase {
    const char* name;
    std::string text;
};

const BadCase BadCases[] = {
    {"EmptyText", ""},
    {"OtherVersion", "PLINTOR/2 74 0 0 0\n"},
    {"NoLength", "PLINTOR/1 74 0 0\n"},
    {"MessageNotANumber", "PLINTOR/1 x 0 0 0\n"},
    {"MessagePast32Bits", "PLINTOR/1 4294967296 0 0 0\n"},
    {"NegativeLength", "PLINTOR/1 74 0 0 -1\n"},
    {"ParameterPast32Bits", "PLINTOR/1 74 99999999999 0 0\n"},
};

class BadKioskMessageTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadKioskMessageTest, IsNoMessage) {
    EXPECT_FALSE(decodeKioskMessage(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, BadKioskMessageTest, ::testing::ValuesIn(BadCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
