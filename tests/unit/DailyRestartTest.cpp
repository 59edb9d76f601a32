#include "core/app/DailyRestart.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"
#include "tests/support/LocalDates.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

const LocalTime Day = test::date(2026, 12, 10);
const LocalTime NextDay = test::date(2026, 12, 11);

struct ClockCase {
    const char* name;
    LocalTime start;                         // the local time when the restart is scheduled
    TimeOfDay restartAt;                     // AutoRestart
    void (*change)(test::FakeClock& clock);  // what happens to the clock ten seconds later
    bool jump;
    LocalTime next;  // the restart that follows, due once the clock crossed it in step
};

void setTo(test::FakeClock& clock, LocalTime time) {
    clock.set(time);
}

const ClockCase ClockCases[] = {
    {"ClockInStep", Day + 2h + 59min, 3h, [](test::FakeClock&) {}, false, Day + 3h},
    {"SetRightFromYear2000", test::date(2000, 1, 1) + 5s, 3h,
     [](test::FakeClock& c) { setTo(c, Day + 14h); }, true, NextDay + 3h},
    {"SetForwardOverTheRestartTime", Day + 2h + 59min, 3h,
     [](test::FakeClock& c) { setTo(c, Day + 3h + 30min); }, true, NextDay + 3h},
    {"SetToTheRestartTimeItself", Day + 2h, 3h, [](test::FakeClock& c) { setTo(c, Day + 3h); },
     true, NextDay + 3h},
    {"SetBackAnHour", Day + 3h + 30min, 3h, [](test::FakeClock& c) { setTo(c, c.now() - 1h); },
     true, Day + 3h},
    {"SlewedWithinTheTolerance", Day + 2h, 3h,
     [](test::FakeClock& c) { setTo(c, c.now() + 1500ms); }, false, Day + 3h},
    // Spring: 02:00 becomes 03:00; the day's restart at 02:30 still comes, at once.
    {"DaylightSavingBegins", test::date(2026, 3, 29) + 1h + 59min + 55s, 2h + 30min,
     [](test::FakeClock& c) { c.changeZone(1h); }, false, test::date(2026, 3, 29) + 2h + 30min},
    // Autumn: 03:00 becomes 02:00 after the night's restart at 02:30; not a second one.
    {"DaylightSavingEnds", test::date(2026, 10, 25) + 2h + 59min + 55s, 2h + 30min,
     [](test::FakeClock& c) { c.changeZone(-1h); }, false, test::date(2026, 10, 26) + 2h + 30min},
};

class DailyRestartClockTest : public ::testing::TestWithParam<ClockCase> {
protected:
    // Both clocks move on together by `milliseconds`.
    void pass(long long milliseconds) {
        m_steady.advance(std::chrono::milliseconds(milliseconds));
        m_wall.set(m_wall.now() + std::chrono::milliseconds(milliseconds));
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
    EXPECT_EQ(m_restart.next(), row.next);

    const long long left = m_restart.millisecondsToDue();
    if (left > 0) {
        pass(left - 1);
        EXPECT_EQ(m_restart.followClock(), 0);
        EXPECT_GT(m_restart.millisecondsToDue(), 0) << "not due before its time";
        pass(1);
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
    restart.schedule(std::nullopt);
    wall.set(Day + std::chrono::days(400));
    EXPECT_EQ(restart.followClock(), 0);
    EXPECT_EQ(restart.millisecondsToDue(), -1);
}

}  // namespace
}  // namespace plintor
