// The session manager and the power actions against a real dbus-daemon on a private bus, with
// fake_logind owning org.freedesktop.login1 on it.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "platform/PowerActions.h"
#include "platform/SessionManager.h"
#include "tests/support/LogindFixture.h"
#include "tests/support/RealPlatform.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using test::Lines;
using test::pid;
using test::StartTimeout;
using test::writeBytes;

class LogindTest : public test::LogindFixture {};

struct PowerCase {
    const char* name;
    bool (PowerActions::*action)(bool);
    Lines expected;
};

const PowerCase PowerCases[] = {
    {"ShutDown", &PowerActions::shutDown, {"PowerOff false"}},
    {"Restart", &PowerActions::restart, {"Reboot false"}},
    {"LogOff", &PowerActions::logOff, {"GetSessionByPID " + pid(), "TerminateSession 1"}},
};

class LogindPowerTest : public LogindTest, public ::testing::WithParamInterface<PowerCase> {};

TEST_P(LogindPowerTest, PowerActionsReachLogindNonInteractively) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    EXPECT_TRUE((test::realPlatform().powerActions().*GetParam().action)(true));
    EXPECT_EQ(calls(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Actions, LogindPowerTest, ::testing::ValuesIn(PowerCases),
                         test::RowName());

// The calls must reach logind, so false comes from its answer and not from a call never made.
TEST_F(LogindTest, RefusedRequestsReportFalse) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus({"--refuse"}));
    EXPECT_FALSE(test::realPlatform().powerActions().shutDown(true));
    EXPECT_FALSE(test::realPlatform().powerActions().restart(true));
    EXPECT_FALSE(test::realPlatform().powerActions().logOff(true));
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(manager->inhibitSleep());
    EXPECT_FALSE(manager->inhibitSleep()) << "a refused inhibitor must not count as held";
    EXPECT_EQ(calls(), (Lines{"PowerOff false", "Reboot false", "GetSessionByPID " + pid(),
                              "TerminateSession 1", "Inhibit sleep:idle Plintor block",
                              "Inhibit sleep:idle Plintor block"}));
}

struct NoBusCase {
    const char* name;
    const char* address;
    bool inFolder;  // Address is a socket file in the test's folder
};

const NoBusCase NoBusCases[] = {
    {"MissingSocket", "missing", true},
    {"PlainFile", "plain-file", true},
    {"NotABusAddress", "not-a-bus-address", false},
};

class LogindNoBusTest : public LogindTest, public ::testing::WithParamInterface<NoBusCase> {};

TEST_P(LogindNoBusTest, WithoutABusThereIsNoManagerAndNoPowerAction) {
    writeBytes(m_dir.path("plain-file"), "");
    const std::string address = GetParam().inFolder ? "unix:path=" + m_dir.path(GetParam().address)
                                                    : std::string(GetParam().address);
    m_systemBus.set(address.c_str());
    EXPECT_EQ(test::realPlatform().connectSessionManager(), nullptr);
    EXPECT_FALSE(test::realPlatform().powerActions().shutDown(true));
    EXPECT_FALSE(test::realPlatform().powerActions().restart(true));
    EXPECT_FALSE(test::realPlatform().powerActions().logOff(true));
}

INSTANTIATE_TEST_SUITE_P(Addresses, LogindNoBusTest, ::testing::ValuesIn(NoBusCases),
                         test::RowName());

// A stopped dbus-daemon still accepts connections in the kernel but never answers the handshake;
// without a limit of its own the connection would wait for sd-bus's 90 seconds.
TEST_F(LogindTest, StuckBusDoesNotHangTheConnection) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    m_bus.signal(SIGSTOP);
    EXPECT_EQ(test::realPlatform().connectSessionManager(), nullptr);
}

TEST_F(LogindTest, StuckLogindCountsAsRefused) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    m_logind.signal(SIGSTOP);
    EXPECT_FALSE(manager->powerOff());
}

TEST_F(LogindTest, BusGoneAfterConnectingMakesEveryRequestFail) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    m_bus.kill();
    EXPECT_FALSE(manager->powerOff());
    EXPECT_FALSE(manager->reboot());
    EXPECT_FALSE(manager->terminateOwnSession());
    EXPECT_FALSE(manager->inhibitSleep());
    EXPECT_FALSE(manager->sessionEnding());
    manager->releaseSleepInhibitor();
}

struct TerminateCase {
    const char* name;
    const char* sessionId;  // XDG_SESSION_ID; null: unset
    bool accepted;
    Lines expected;
};

const TerminateCase TerminateCases[] = {
    {"IdFromTheEnvironment", "1", true, {"TerminateSession 1"}},
    {"IdLookedUpByProcess", nullptr, true, {"GetSessionByPID " + pid(), "TerminateSession 1"}},
    {"EmptyIdLookedUpByProcess", "", true, {"GetSessionByPID " + pid(), "TerminateSession 1"}},
    {"UnknownId", "c9", false, {"TerminateSession c9"}},
};

class LogindTerminateTest : public LogindTest,
                            public ::testing::WithParamInterface<TerminateCase> {};

TEST_P(LogindTerminateTest, TerminateOwnSessionPrefersTheSessionIdFromTheEnvironment) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    m_sessionId.set(GetParam().sessionId);
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->terminateOwnSession(), GetParam().accepted);
    EXPECT_EQ(calls(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sessions, LogindTerminateTest, ::testing::ValuesIn(TerminateCases),
                         test::RowName());

// fake_logind records a release before the next call it records, so each Reboot below marks the
// point by which a closed inhibitor must show up.
TEST_F(LogindTest, SleepInhibitorIsHeldUntilReleasedOrDestroyed) {
    const Lines inhibit = {"Inhibit sleep:idle Plintor block"};
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);

    ASSERT_TRUE(manager->inhibitSleep());
    EXPECT_TRUE(manager->inhibitSleep()) << "a second request while holding one";
    ASSERT_TRUE(manager->reboot());
    EXPECT_EQ(calls(), (Lines{inhibit[0], "Reboot false"}));

    clearCalls();
    manager->releaseSleepInhibitor();
    manager->releaseSleepInhibitor();
    ASSERT_TRUE(manager->reboot());
    EXPECT_EQ(calls(), (Lines{"Inhibitor released", "Reboot false"}));

    clearCalls();
    ASSERT_TRUE(manager->inhibitSleep()) << "inhibiting again after a release";
    manager.reset();
    ASSERT_TRUE(test::realPlatform().powerActions().restart(true));
    EXPECT_EQ(calls(), (Lines{inhibit[0], "Inhibitor released", "Reboot false"}));
}

struct EndingCase {
    const char* name;
    std::vector<std::string> logindOptions;
    const char* sessionId;  // XDG_SESSION_ID; null: unset
    bool ending;
};

const EndingCase EndingCases[] = {
    {"ActiveSession", {}, nullptr, false},
    {"SessionOnline", {"--session-state", "online"}, nullptr, false},
    {"MachinePreparingToShutDown", {"--preparing"}, nullptr, true},
    {"ClosingSessionFoundByProcess", {"--session-state", "closing"}, nullptr, true},
    {"ClosingSessionFoundById", {"--session-state", "closing"}, "1", true},
    {"UnknownSessionId", {"--session-state", "closing"}, "c9", false},
};

class LogindEndingTest : public LogindTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(LogindEndingTest, SessionEndsWhenTheMachineShutsDownOrTheSessionCloses) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus(GetParam().logindOptions));
    m_sessionId.set(GetParam().sessionId);
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->sessionEnding(), GetParam().ending);
}

INSTANTIATE_TEST_SUITE_P(States, LogindEndingTest, ::testing::ValuesIn(EndingCases),
                         test::RowName());

// The state is asked for each time: a shutdown starting after the first look is still seen.
TEST_F(LogindTest, ShutdownStartingWhileRunningEndsTheSession) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = test::realPlatform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_FALSE(manager->sessionEnding());
    m_logind.signal(SIGUSR1);
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    bool ending = false;
    while (!ending && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ending = manager->sessionEnding();
    }
    EXPECT_TRUE(ending);
}

}  // namespace
}  // namespace plintor
