#include "core/app/DailyRestart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/FakeClock.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

DateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return encodeDate(year, month, day) + encodeTime(hour, minute, second, 0);
}

const DateTime Day = encodeDate(2026, 12, 10);

struct ClockCase {
    const char* name;
    DateTime start;                          // the local time when the restart is scheduled
    DateTime restartAt;                      // AutoRestart
    void (*change)(test::FakeClock& clock);  // what happens to the clock ten seconds later
    bool jump;
    DateTime next;  // the restart that follows, due once the clock crossed it in step
};

void setTo(test::FakeClock& clock, DateTime time) {
    clock.set(time);
}

const ClockCase ClockCases[] = {
    {"ClockInStep", Day + encodeTime(2, 59, 0, 0), encodeTime(3, 0, 0, 0), [](test::FakeClock&) {},
     false, Day + encodeTime(3, 0, 0, 0)},
    {"SetRightFromYear2000", at(2000, 1, 1, 0, 0, 5), encodeTime(3, 0, 0, 0),
     [](test::FakeClock& c) { setTo(c, Day + encodeTime(14, 0, 0, 0)); }, true,
     Day + 1 + encodeTime(3, 0, 0, 0)},
    {"SetForwardOverTheRestartTime", Day + encodeTime(2, 59, 0, 0), encodeTime(3, 0, 0, 0),
     [](test::FakeClock& c) { setTo(c, Day + encodeTime(3, 30, 0, 0)); }, true,
     Day + 1 + encodeTime(3, 0, 0, 0)},
    {"SetToTheRestartTimeItself", Day + encodeTime(2, 0, 0, 0), encodeTime(3, 0, 0, 0),
     [](test::FakeClock& c) { setTo(c, Day + encodeTime(3, 0, 0, 0)); }, true,
     Day + 1 + encodeTime(3, 0, 0, 0)},
    {"SetBackAnHour", Day + encodeTime(3, 30, 0, 0), encodeTime(3, 0, 0, 0),
     [](test::FakeClock& c) { setTo(c, c.now() - encodeTime(1, 0, 0, 0)); }, true,
     Day + encodeTime(3, 0, 0, 0)},
    {"SlewedWithinTheTolerance", Day + encodeTime(2, 0, 0, 0), encodeTime(3, 0, 0, 0),
     [](test::FakeClock& c) { setTo(c, c.now() + encodeTime(0, 0, 1, 500)); }, false,
     Day + encodeTime(3, 0, 0, 0)},
    // Spring: 02:00 becomes 03:00; the day's restart at 02:30 still comes, at once.
    {"DaylightSavingBegins", at(2026, 3, 29, 1, 59, 55), encodeTime(2, 30, 0, 0),
     [](test::FakeClock& c) { c.changeZone(encodeTime(1, 0, 0, 0)); }, false,
     at(2026, 3, 29, 2, 30)},
    // Autumn: 03:00 becomes 02:00 after the night's restart at 02:30; not a second one.
    {"DaylightSavingEnds", at(2026, 10, 25, 2, 59, 55), encodeTime(2, 30, 0, 0),
     [](test::FakeClock& c) { c.changeZone(-encodeTime(1, 0, 0, 0)); }, false,
     at(2026, 10, 26, 2, 30)},
};

class DailyRestartClockTest : public ::testing::TestWithParam<ClockCase> {
protected:
    // Both clocks move on together by `milliseconds`.
    void pass(long long milliseconds) {
        m_steady.advance(std::chrono::milliseconds(milliseconds));
        m_wall.set(m_wall.now() + static_cast<double>(milliseconds) / MillisecondsPerDay);
    }

    test::FakeClock m_wall{GetParam().start};
    test::FakeMonotonicClock m_steady;
    DailyRestart m_restart{m_wall, m_steady};
};

TEST_P(DailyRestartClockTest, DueOnlyWhenTheClockCrossedItInStep) {
    const ClockCase& row = GetParam();
    m_restart.schedule(row.restartAt);
    pass(10000);
    EXPECT_EQ(m_restart.followClock(), 0);
    row.change(m_wall);
    EXPECT_EQ(m_restart.followClock() != 0, row.jump);
    EXPECT_NEAR(m_restart.next(), row.next, 1.0 / MillisecondsPerDay);

    const long long left = m_restart.millisecondsToDue();
    if (left > 0) {
        pass(left - 2);  // day counts keep a millisecond only roughly over a day
        EXPECT_EQ(m_restart.followClock(), 0);
        EXPECT_GT(m_restart.millisecondsToDue(), 0) << "not due before its time";
        pass(3);
    }
    EXPECT_EQ(m_restart.followClock(), 0);
    EXPECT_EQ(m_restart.millisecondsToDue(), 0);
}

INSTANTIATE_TEST_SUITE_P(Clocks, DailyRestartClockTest, ::testing::ValuesIn(ClockCases),
                         test::RowName());

TEST(DailyRestartTest, NeverWhenOff) {
    test::FakeClock wall(Day);
    test::FakeMonotonicClock steady;
    DailyRestart restart(wall, steady);
    EXPECT_FALSE(restart.scheduled());
    restart.schedule(-1);
    wall.set(Day + 400);
    EXPECT_EQ(restart.followClock(), 0);
    EXPECT_EQ(restart.millisecondsToDue(), -1);
}

}  // namespace
}  // namespace plintor
