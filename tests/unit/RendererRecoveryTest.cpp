#include "core/app/RendererRecovery.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

class RendererRecoveryTest : public ::testing::Test {
protected:
    void advance(int minutes) { m_clock.advance(std::chrono::minutes(minutes)); }

    test::FakeMonotonicClock m_clock;
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

}  // namespace
}  // namespace plintor
