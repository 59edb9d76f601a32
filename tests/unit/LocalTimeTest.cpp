#include "core/support/LocalTime.h"

#include <gtest/gtest.h>

#include "tests/support/LocalDates.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

// The system hands the clock out as calendar fields; a leap day's last millisecond stays where
// it is both ways.
TEST(LocalTimeTest, CalendarFieldsBothWays) {
    const LocalTime leapDayEnd = test::date(2024, 2, 29) + 23h + 59min + 59s + 999ms;
    EXPECT_EQ(localTimeOf({2024, 2, 29, 23, 59, 59, 999}), leapDayEnd);
    const DateTimeParts parts = partsOf(leapDayEnd);
    EXPECT_EQ(parts.year, 2024);
    EXPECT_EQ(parts.month, 2);
    EXPECT_EQ(parts.day, 29);
    EXPECT_EQ(parts.hour, 23);
    EXPECT_EQ(parts.minute, 59);
    EXPECT_EQ(parts.second, 59);
    EXPECT_EQ(parts.millisecond, 999);
    EXPECT_EQ(partsOf(test::date(1899, 12, 30)).year, 1899) << "before 1970 too";
}

// Milliseconds are dropped, never rounded up into the next second (or day).
TEST(LocalTimeTest, IsoTextIsLocalTimeToTheSecond) {
    EXPECT_EQ(isoDateTimeText(test::date(2024, 2, 29) + 23h + 59min + 59s + 999ms),
              "2024-02-29T23:59:59");
    EXPECT_EQ(isoDateTimeText(test::date(987, 1, 2) + 3h + 4min + 5s), "0987-01-02T03:04:05");
}

}  // namespace
}  // namespace plintor
