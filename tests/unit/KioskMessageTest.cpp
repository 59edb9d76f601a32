#include "core/app/KioskMessage.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

using namespace std::string_literals;

TEST(KioskMessageTest, RoundTripsAndReadsTextOnlyUpToItsLength) {
    const TKioskMessage navigate{WM_COPYDATA, 0, 0, "http://host/caf\xC3\xA9?a=1 2"};
    EXPECT_EQ(DecodeKioskMessage(EncodeKioskMessage(navigate)), navigate);
    const TKioskMessage quit{WM_REMOTEQUIT, 243120, -5, ""};
    EXPECT_EQ(DecodeKioskMessage(EncodeKioskMessage(quit)), quit);

    EXPECT_EQ(DecodeKioskMessage("PLINTOR/1 74 0 0 4\nhttp://longer")->Text, "http");
    EXPECT_EQ(DecodeKioskMessage("PLINTOR/1 74 0 0 99\nhttp://a/\0junk"s)->Text, "http://a/");
    for (const std::string bad :
         {"", "PLINTOR/2 74 0 0 0\n", "PLINTOR/1 74 0 0\n", "PLINTOR/1 x 0 0 0\n",
          "PLINTOR/1 74 0 0 -1\n", "PLINTOR/1 74 99999999999 0 0\n"}) {
        EXPECT_FALSE(DecodeKioskMessage(bad)) << bad;
    }
}

}  // namespace
}  // namespace plintor
