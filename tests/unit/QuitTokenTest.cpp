#include "core/app/QuitToken.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(QuitTokenTest, ValidForTheDayItWasMadeFor) {
    const std::int32_t today = QuitTokenDate(2026, 12, 10);
    EXPECT_EQ(today, 2026 * 12 * 10);
    EXPECT_EQ(QuitTokenKeyed(today), static_cast<std::int32_t>(243120LL * 0x5EED1A57 % 2147483647));
    EXPECT_TRUE(CheckQuitToken(today, QuitTokenKeyed(today), 2026, 12, 10));

    const std::int32_t yesterday = QuitTokenDate(2026, 12, 9);
    EXPECT_FALSE(CheckQuitToken(yesterday, QuitTokenKeyed(yesterday), 2026, 12, 10));
    EXPECT_FALSE(CheckQuitToken(today, QuitTokenKeyed(today) + 1, 2026, 12, 10));
    EXPECT_FALSE(CheckQuitToken(today, QuitTokenKeyed(today), 2026, 12, 11));
}

}  // namespace
}  // namespace plintor
