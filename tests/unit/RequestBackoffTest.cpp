#include "core/app/RequestBackoff.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

using std::chrono::milliseconds;

// A service that keeps refusing is asked after 1, 2, 4 … seconds, at most every ten minutes;
// one success and the next request may come at once.
TEST(RequestBackoffTest, EachFailureInARowDoublesTheWaitUpToItsLongest) {
    test::FakeMonotonicClock clock;
    RequestBackoff backoff(clock);
    EXPECT_EQ(backoff.millisecondsUntilAllowed(), 0);
    std::vector<long long> waits;
    for (int failure = 0; failure < 12; ++failure) {
        backoff.started();
        EXPECT_EQ(backoff.millisecondsUntilAllowed(), -1) << "one request in flight";
        clock.advance(milliseconds(300));  // the answer takes its time
        backoff.answered(false);
        waits.push_back(backoff.millisecondsUntilAllowed());
        clock.advance(milliseconds(waits.back() - 1));
        EXPECT_EQ(backoff.millisecondsUntilAllowed(), 1) << "not a millisecond early";
        clock.advance(milliseconds(1));
        EXPECT_EQ(backoff.millisecondsUntilAllowed(), 0);
    }
    EXPECT_EQ(waits, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 32000, 64000, 128000,
                                             256000, 512000, 600000, 600000}));
    backoff.started();
    backoff.answered(true);
    EXPECT_EQ(backoff.millisecondsUntilAllowed(), 0);
    EXPECT_EQ(backoff.delayMs(), 0);
    backoff.started();
    backoff.answered(false);
    EXPECT_EQ(backoff.millisecondsUntilAllowed(), 1000) << "a success starts the waits afresh";
}

}  // namespace
}  // namespace plintor
