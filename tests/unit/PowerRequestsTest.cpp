// The power requests against a real dbus-daemon on a private bus, with fake_logind owning
// org.freedesktop.login1 on it: asked in the background, one at a time, less often while refused.
#include "app/PowerRequests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "glib/Timeout.h"
#include "platform/Platform.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LogindFixture.h"
#include "tests/support/MainLoopUntil.h"
#include "tests/support/RealPlatform.h"

namespace plintor {
namespace {

using test::Lines;
using Answer = std::pair<PowerRequest, bool>;
using Answers = std::vector<Answer>;

class PowerRequestsTest : public test::LogindFixture {
protected:
    static bool runUntil(const std::function<bool()>& done,
                         std::chrono::seconds limit = std::chrono::seconds(30)) {
        return test::runMainLoopUntil(done, limit);
    }

    bool answered(std::size_t count) {
        return runUntil([&] { return m_answers.size() >= count; });
    }

    std::string log() const { return test::readBytes(m_dir.path("plintor.log")); }

    test::FakeMonotonicClock m_clock;
    Answers m_answers;
    const LogWriter m_log{m_dir.path("plintor.log"), systemClock()};
    PowerRequests m_requests{
        test::realPlatform().powerActions(), m_clock,
        [this](PowerRequest what, bool accepted) { m_answers.emplace_back(what, accepted); },
        m_log};
};

// logind takes the request and never answers: the main loop goes on meanwhile, and nothing
// else is asked of logind until the request is over.
TEST_F(PowerRequestsTest, HungLogindLeavesTheLoopFreeAndOneRequestInFlight) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus({"--never-answer"}));
    ASSERT_TRUE(m_requests.request(PowerRequest::Restart));
    ASSERT_TRUE(runUntil([&] { return calls() == Lines{"Reboot false"}; }));
    bool served = false;
    Timeout other([&served] { served = true; });
    other.start(0);
    ASSERT_TRUE(runUntil([&] { return served; }));
    EXPECT_EQ(m_answers, Answers{}) << "a second event was served while logind kept silent";
    EXPECT_EQ(m_requests.waitMs(), -1);

    EXPECT_FALSE(m_requests.request(PowerRequest::ShutDown));
    EXPECT_NE(log().find("Shut down not asked: another request is unanswered"), std::string::npos);
    ASSERT_TRUE(answered(1));
    EXPECT_EQ(m_answers, (Answers{{PowerRequest::Restart, false}})) << "no answer is a failure";
    EXPECT_EQ(calls(), Lines{"Reboot false"});
    EXPECT_EQ(m_requests.waitMs(), 1000);
}

// A refusing logind is asked after one, then two seconds, not in a loop.
TEST_F(PowerRequestsTest, RefusedRequestsWaitLongerEachTime) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus({"--refuse"}));
    ASSERT_TRUE(m_requests.request(PowerRequest::Restart));
    ASSERT_TRUE(answered(1));
    EXPECT_EQ(m_requests.waitMs(), 1000);
    EXPECT_FALSE(m_requests.request(PowerRequest::Restart));
    EXPECT_NE(log().find("Restart not accepted: the next request in 1 s at the earliest"),
              std::string::npos);

    m_clock.advance(std::chrono::seconds(1));
    ASSERT_TRUE(m_requests.request(PowerRequest::LogOff));
    ASSERT_TRUE(answered(2));
    EXPECT_EQ(m_requests.waitMs(), 2000);
    m_clock.advance(std::chrono::seconds(1));
    EXPECT_FALSE(m_requests.request(PowerRequest::Restart));
    m_clock.advance(std::chrono::seconds(1));
    EXPECT_TRUE(m_requests.request(PowerRequest::Restart));
    ASSERT_TRUE(answered(3));
    EXPECT_EQ(m_answers, (Answers{{PowerRequest::Restart, false},
                                  {PowerRequest::LogOff, false},
                                  {PowerRequest::Restart, false}}));
    EXPECT_EQ(calls(), (Lines{"Reboot false", "GetSessionByPID " + test::pid(),
                              "TerminateSession 1", "Reboot false"}));
}

TEST_F(PowerRequestsTest, AcceptedRequestIsAnsweredAndLeavesNoWait) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    ASSERT_TRUE(m_requests.request(PowerRequest::ShutDown));
    ASSERT_TRUE(answered(1));
    EXPECT_EQ(m_answers, (Answers{{PowerRequest::ShutDown, true}}));
    EXPECT_EQ(m_requests.waitMs(), 0);
    EXPECT_EQ(calls(), Lines{"PowerOff false"});
}

}  // namespace
}  // namespace plintor
