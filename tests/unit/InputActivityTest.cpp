#include "core/lockdown/InputActivity.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;

TEST(InputActivityTest, IdleMinutesAndTheScreensaverWake) {
    test::FakeMonotonicClock clock;
    const auto start = clock.now();
    InputActivity input(clock);
    clock.advance(minutes(10) - milliseconds(1));
    EXPECT_FALSE(input.idleMinutesReached(10));
    clock.advance(milliseconds(1));
    EXPECT_TRUE(input.idleMinutesReached(10));
    EXPECT_FALSE(input.idleMinutesReached(0));
    input.disarm();
    clock.advance(minutes(30));
    EXPECT_FALSE(input.idleMinutesReached(10)) << "disarmed until the next input";
    EXPECT_EQ(input.idleMilliseconds(), -1);
    EXPECT_EQ(input.lastRecorded(), start) << "the operator still sees the real last input";

    int hidden = 0;
    input.record();
    input.screensaverShown([&] { ++hidden; });
    input.record();
    input.record();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(input.idleMilliseconds(), 0);
    EXPECT_EQ(input.lastRecorded(), clock.now());
}

// The listener learns of each input once it is recorded: an idle time it looks at is armed.
TEST(InputActivityTest, ListenerToldOfEveryRecordedInput) {
    test::FakeMonotonicClock clock;
    InputActivity input(clock);
    input.disarm();
    std::vector<long long> idleSeen;
    input.setListener([&] { idleSeen.push_back(input.idleMilliseconds()); });
    input.record();
    input.recordTouch();
    EXPECT_EQ(idleSeen, (std::vector<long long>{0, 0}));
    input.setListener(nullptr);
    input.record();
    EXPECT_EQ(idleSeen.size(), 2u);
}

}  // namespace
}  // namespace plintor
