#include "core/support/LogRateLimit.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using test::FakeMonotonicClock;

class LogRateLimitTest : public ::testing::Test {
protected:
    FakeMonotonicClock m_clock;
    LogRateLimit m_limit{m_clock, 1s};
};

TEST_F(LogRateLimitTest, FirstOfAnIntervalIsLoggedTheRestCounted) {
    EXPECT_TRUE(m_limit.admit());
    m_clock.advance(100ms);
    EXPECT_FALSE(m_limit.admit());
    EXPECT_FALSE(m_limit.admit());
    EXPECT_EQ(m_limit.untilReport(), 900ms);
    m_clock.advance(900ms);
    EXPECT_EQ(m_limit.untilReport(), 0ms);
    EXPECT_EQ(m_limit.takeCounted(), 2);
}

TEST_F(LogRateLimitTest, AReportStartsTheNextInterval) {
    EXPECT_TRUE(m_limit.admit());
    EXPECT_FALSE(m_limit.admit());
    m_clock.advance(1s);
    EXPECT_EQ(m_limit.takeCounted(), 1);
    m_clock.advance(300ms);
    EXPECT_FALSE(m_limit.admit()) << "the report was this interval's entry";
    EXPECT_EQ(m_limit.untilReport(), 700ms);
    m_clock.advance(700ms);
    EXPECT_EQ(m_limit.takeCounted(), 1);
    EXPECT_EQ(m_limit.takeCounted(), 0) << "a quiet interval ends the limit";
    EXPECT_TRUE(m_limit.admit());
}

TEST_F(LogRateLimitTest, EventsApartAreAllLogged) {
    for (int event = 0; event < 5; ++event) {
        EXPECT_TRUE(m_limit.admit());
        m_clock.advance(1s);
    }
}

TEST_F(LogRateLimitTest, CountedEventsWaitForTheirReportEvenWhenItIsLate) {
    EXPECT_TRUE(m_limit.admit());
    EXPECT_FALSE(m_limit.admit());
    m_clock.advance(5s);
    EXPECT_FALSE(m_limit.admit()) << "not logged ahead of the two still to be reported";
    EXPECT_EQ(m_limit.takeCounted(), 2);
}

TEST_F(LogRateLimitTest, AFloodGivesOneEntryPerInterval) {
    int entries = 0;
    for (int event = 0; event < 600; ++event) {  // 60 a second for 10 s
        entries += m_limit.admit() ? 1 : 0;
        m_clock.advance(1000ms / 60);
        if (m_limit.untilReport() == 0ms && m_limit.takeCounted() > 0) {
            ++entries;
        }
    }
    EXPECT_LE(entries, 11);
}

}  // namespace
}  // namespace plintor
