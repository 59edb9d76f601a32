#include "core/app/RendererRecovery.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

class RendererRecoveryTest : public ::testing::Test {
protected:
    void advance(int minutes, int seconds = 0) {
        m_clock.set(m_clock.now() + encodeTime(0, minutes, seconds, 0));
    }

    test::FakeClock m_clock{encodeDate(2026, 12, 10)};
    RendererRecovery m_recovery{m_clock};
};

TEST_F(RendererRecoveryTest, QuickUntilMoreThanFiveEndsInTenMinutes) {
    for (int end = 1; end <= 5; ++end) {
        EXPECT_EQ(m_recovery.delayAfterEnd(), RendererRecovery::QuickDelayMs) << "end " << end;
        advance(1);
    }
    EXPECT_EQ(m_recovery.delayAfterEnd(), RendererRecovery::SlowDelayMs) << "the sixth";
    EXPECT_EQ(m_recovery.delayAfterEnd(), RendererRecovery::SlowDelayMs);
}

TEST_F(RendererRecoveryTest, EndsOlderThanTenMinutesNoLongerCount) {
    for (int end = 0; end < 5; ++end) {
        m_recovery.delayAfterEnd();
    }
    advance(10);
    EXPECT_EQ(m_recovery.delayAfterEnd(), RendererRecovery::QuickDelayMs);
    EXPECT_EQ(m_recovery.recentEnds(), 1);
}

TEST_F(RendererRecoveryTest, ClockSetBackForgetsTheEndsAfterIt) {
    for (int end = 0; end < 5; ++end) {
        m_recovery.delayAfterEnd();
    }
    m_clock.set(m_clock.now() - 1);
    EXPECT_EQ(m_recovery.delayAfterEnd(), RendererRecovery::QuickDelayMs);
    EXPECT_EQ(m_recovery.recentEnds(), 1);
}

}  // namespace
}  // namespace plintor
