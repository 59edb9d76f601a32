#include "core/app/QuitToken.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(QuitTokenTest, ValidForTheDayItWasMadeFor) {
    const std::int32_t today = quitTokenDate(2026, 12, 10);
    EXPECT_EQ(today, 243120);  // 2026 x 12 x 10
    // 243120 x 0x5EED1A57 (1592597079) = 387192201846480; modulo 2^31 - 1 that leaves 900292380.
    EXPECT_EQ(quitTokenKeyed(today), 900292380);
    EXPECT_TRUE(checkQuitToken(today, quitTokenKeyed(today), 2026, 12, 10));

    const std::int32_t yesterday = quitTokenDate(2026, 12, 9);
    EXPECT_FALSE(checkQuitToken(yesterday, quitTokenKeyed(yesterday), 2026, 12, 10));
    EXPECT_FALSE(checkQuitToken(today, quitTokenKeyed(today) + 1, 2026, 12, 10));
    EXPECT_FALSE(checkQuitToken(today, quitTokenKeyed(today), 2026, 12, 11));
}

}  // namespace
}  // namespace plintor
