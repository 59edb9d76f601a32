#include "core/support/DateTime.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(DateTimeTest, DayCountsFromTheEpoch) {
    EXPECT_EQ(encodeDate(1899, 12, 30), 0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2);
    EXPECT_EQ(encodeDate(2000, 1, 1), 36526);
    const DateTimeParts parts =
        decodeDateTime(encodeDate(2024, 2, 29) + encodeTime(23, 59, 59, 999));
    EXPECT_EQ(parts.year, 2024);
    EXPECT_EQ(parts.month, 2);
    EXPECT_EQ(parts.day, 29);
    EXPECT_EQ(parts.hour, 23);
    EXPECT_EQ(parts.minute, 59);
    EXPECT_EQ(parts.second, 59);
    EXPECT_EQ(parts.millisecond, 999);
    EXPECT_FALSE(isValidDate(2023, 2, 29));
    EXPECT_EQ(dateOf(encodeDate(2026, 12, 10) + 0.75), encodeDate(2026, 12, 10));
}

// The ini reader's and the restart's tests state their times through encodeTime, so it is pinned
// here on its own.
TEST(DateTimeTest, TimeIsAFractionOfADay) {
    EXPECT_DOUBLE_EQ(encodeTime(18, 0, 0, 0), 0.75);
    EXPECT_DOUBLE_EQ(encodeTime(0, 36, 0, 0), 0.025);       // 36 of 1440 minutes
    EXPECT_NEAR(encodeTime(0, 0, 43, 200), 0.0005, 1e-15);  // 43.2 of 86400 seconds
}

// Milliseconds are dropped, never rounded up into the next second (or day).
TEST(DateTimeTest, IsoTextIsLocalTimeToTheSecond) {
    EXPECT_EQ(isoDateTimeText(encodeDate(2024, 2, 29) + encodeTime(23, 59, 59, 999)),
              "2024-02-29T23:59:59");
    EXPECT_EQ(isoDateTimeText(encodeDate(987, 1, 2) + encodeTime(3, 4, 5, 0)),
              "0987-01-02T03:04:05");
}

}  // namespace
}  // namespace plintor
