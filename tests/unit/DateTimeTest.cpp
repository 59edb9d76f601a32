#include "core/support/DateTime.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

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

// The ini reader's and the restart's tests state their times through EncodeTime, so it is pinned
// here on its own.
TEST(DateTimeTest, TimeIsAFractionOfADay) {
    EXPECT_DOUBLE_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    EXPECT_DOUBLE_EQ(EncodeTime(0, 36, 0, 0), 0.025);       // 36 of 1440 minutes
    EXPECT_NEAR(EncodeTime(0, 0, 43, 200), 0.0005, 1e-15);  // 43.2 of 86400 seconds
}

}  // namespace
}  // namespace plintor
