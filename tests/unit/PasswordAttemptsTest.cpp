#include "core/app/PasswordAttempts.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using test::FakeMonotonicClock;

struct WaitCase {
    const char* name;
    int wrongInARow;
    std::chrono::milliseconds wait;
};

class PasswordWaitTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(PasswordWaitTest, DoublesAfterTheFreeAttempts) {
    EXPECT_EQ(PasswordAttempts::waitAfter(GetParam().wrongInARow), GetParam().wait);
}

INSTANTIATE_TEST_SUITE_P(Waits, PasswordWaitTest,
                         ::testing::Values(WaitCase{"NoneWrong", 0, 0ms},
                                           WaitCase{"TwoWrongAreFree", 2, 0ms},
                                           WaitCase{"ThirdWrongWaitsOneSecond", 3, 1s},
                                           WaitCase{"FourthTwoSeconds", 4, 2s},
                                           WaitCase{"FifthFourSeconds", 5, 4s},
                                           WaitCase{"TwelfthJustBelowTheCap", 11, 256s},
                                           WaitCase{"ThirteenthIsCapped", 12, 5min},
                                           WaitCase{"AThousandStaysCapped", 1000, 5min}),
                         [](const auto& info) { return std::string(info.param.name); });

class PasswordAttemptsTest : public ::testing::Test {
protected:
    void wrong(int times) {
        for (int i = 0; i < times; ++i) {
            m_attempts.wrongEntry();
        }
    }

    FakeMonotonicClock m_clock;
    PasswordAttempts m_attempts{m_clock};
};

TEST_F(PasswordAttemptsTest, TheWaitCountsFromTheLastWrongEntry) {
    wrong(3);
    EXPECT_EQ(m_attempts.waitLeft(), 1s);
    m_clock.advance(999ms);
    EXPECT_EQ(m_attempts.waitLeft(), 1ms);
    m_clock.advance(1ms);
    EXPECT_EQ(m_attempts.waitLeft(), 0ms);
    wrong(1);
    EXPECT_EQ(m_attempts.waitLeft(), 2s);
    m_clock.advance(1500ms);
    EXPECT_EQ(m_attempts.waitLeft(), 500ms);
}

TEST_F(PasswordAttemptsTest, ARightEntryStartsAfresh) {
    wrong(5);
    m_clock.advance(4s);
    m_attempts.rightEntry();
    EXPECT_EQ(m_attempts.wrongInARow(), 0);
    wrong(2);
    EXPECT_EQ(m_attempts.waitLeft(), 0ms) << "two wrong entries after a right one are free";
    wrong(1);
    EXPECT_EQ(m_attempts.waitLeft(), 1s);
}

TEST_F(PasswordAttemptsTest, NinetyFiveGuessesTakeOverAnHour) {
    std::chrono::milliseconds waited{0};
    for (int guess = 0; guess < 95; ++guess) {
        const std::chrono::milliseconds wait = m_attempts.waitLeft();
        m_clock.advance(wait);
        waited += wait;
        m_attempts.wrongEntry();
    }
    EXPECT_GT(waited, 1h);
}

}  // namespace
}  // namespace plintor
