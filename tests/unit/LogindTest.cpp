// The session manager and the power actions against a real dbus-daemon on a private bus, with
// fake_logind owning org.freedesktop.login1 on it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/PowerActions.h"
#include "platform/SessionManager.h"
#include "platform/posix/UniqueFd.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

// The platform's services, made once for the whole test program as the kiosk makes them.
Platform& platform() {
    static const std::unique_ptr<Platform> platform = createPlatform();
    return *platform;
}

using test::readBytes;
using test::TempDir;
using test::writeBytes;
using Lines = std::vector<std::string>;

constexpr std::chrono::seconds StartTimeout{10};

// Sets or unsets an environment variable for the scope, then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* saved = std::getenv(name)) {
            m_saved = saved;
        }
        set(value);
    }
    ~ScopedEnv() { set(m_saved ? m_saved->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const char* value) {
        if (value != nullptr) {
            ::setenv(m_name.c_str(), value, 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};

// A helper process that dies with the test, also when the test itself crashes.
class Child {
public:
    Child() = default;
    // `output` becomes the child's standard output and `extra` its descriptor 3, when given.
    Child(const std::vector<std::string>& command, int output, int extra) {
        std::vector<char*> argv;
        for (const std::string& argument : command) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            inherit(output, STDOUT_FILENO);
            inherit(extra, 3);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Child() { kill(); }
    Child(Child&& other) noexcept : m_pid(std::exchange(other.m_pid, -1)) {}
    Child& operator=(Child&& other) noexcept {
        if (this != &other) {
            kill();
            m_pid = std::exchange(other.m_pid, -1);
        }
        return *this;
    }

    void signal(int signal) const { ::kill(m_pid, signal); }
    void kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    static void inherit(int fd, int target) {
        if (fd == target) {
            ::fcntl(fd, F_SETFD, 0);
        } else if (fd >= 0) {
            ::dup2(fd, target);
        }
    }

    pid_t m_pid = -1;
};

// The first line written to `fd`, or "" when none comes in time.
std::string readLine(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        char buffer[256];
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) != 1) {
            return "";
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return "";
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text.substr(0, text.find('\n'));
}

struct Pipe {
    Pipe() {
        int ends[2] = {-1, -1};
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        read = UniqueFd(ends[0]);
        write = UniqueFd(ends[1]);
    }
    UniqueFd read;
    UniqueFd write;
};

std::string pid() {
    return std::to_string(::getpid());
}

class LogindTest : public ::testing::Test {
protected:
    // A fresh bus each time, so a restarted fake never races its predecessor for the name.
    void startSystemBus(const std::vector<std::string>& logindOptions = {}) {
        m_logind.kill();
        m_bus.kill();
        const std::string config = m_dir.path("bus.conf");
        writeBytes(config, busConfig(m_dir.path("bus-" + std::to_string(++m_busCount))));
        Pipe address;
        m_bus = Child({"/usr/bin/dbus-daemon", "--config-file=" + config, "--nofork", "--nopidfile",
                       "--print-address=3"},
                      -1, address.write.get());
        address.write.close();
        m_address = readLine(address.read.get());
        ASSERT_FALSE(m_address.empty()) << "dbus-daemon did not start";
        m_systemBus.set(m_address.c_str());

        std::vector<std::string> command = {FAKE_LOGIND, "--bus", m_address, "--record", record()};
        command.insert(command.end(), logindOptions.begin(), logindOptions.end());
        Pipe ready;
        m_logind = Child(command, ready.write.get(), -1);
        ready.write.close();
        ASSERT_EQ(readLine(ready.read.get()), "ready") << "fake_logind did not start";
        clearCalls();
    }

    std::string record() const { return m_dir.path("calls"); }
    void clearCalls() const { writeBytes(record(), ""); }
    Lines calls() const {
        Lines lines;
        std::istringstream text(readBytes(record()));
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static std::string busConfig(const std::string& socket) {
        std::string config = readBytes(PRIVATE_BUS_CONFIG);
        config.replace(config.find("@SOCKET@"), 8, socket);
        return config;
    }

    TempDir m_dir;
    ScopedEnv m_systemBus{"DBUS_SYSTEM_BUS_ADDRESS", nullptr};
    ScopedEnv m_sessionId{"XDG_SESSION_ID", nullptr};
    Child m_bus;
    Child m_logind;
    std::string m_address;
    int m_busCount = 0;
};

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
    EXPECT_TRUE((platform().powerActions().*GetParam().action)(true));
    EXPECT_EQ(calls(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Actions, LogindPowerTest, ::testing::ValuesIn(PowerCases),
                         test::RowName());

// The calls must reach logind, so false comes from its answer and not from a call never made.
TEST_F(LogindTest, RefusedRequestsReportFalse) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus({"--refuse"}));
    EXPECT_FALSE(platform().powerActions().shutDown(true));
    EXPECT_FALSE(platform().powerActions().restart(true));
    EXPECT_FALSE(platform().powerActions().logOff(true));
    const auto manager = platform().connectSessionManager();
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
    EXPECT_EQ(platform().connectSessionManager(), nullptr);
    EXPECT_FALSE(platform().powerActions().shutDown(true));
    EXPECT_FALSE(platform().powerActions().restart(true));
    EXPECT_FALSE(platform().powerActions().logOff(true));
}

INSTANTIATE_TEST_SUITE_P(Addresses, LogindNoBusTest, ::testing::ValuesIn(NoBusCases),
                         test::RowName());

// A stopped dbus-daemon still accepts connections in the kernel but never answers the handshake;
// without a limit of its own the connection would wait for sd-bus's 90 seconds.
TEST_F(LogindTest, StuckBusDoesNotHangTheConnection) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    m_bus.signal(SIGSTOP);
    EXPECT_EQ(platform().connectSessionManager(), nullptr);
}

TEST_F(LogindTest, StuckLogindCountsAsRefused) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = platform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    m_logind.signal(SIGSTOP);
    EXPECT_FALSE(manager->powerOff());
}

TEST_F(LogindTest, BusGoneAfterConnectingMakesEveryRequestFail) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = platform().connectSessionManager();
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
    const auto manager = platform().connectSessionManager();
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
    auto manager = platform().connectSessionManager();
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
    ASSERT_TRUE(platform().powerActions().restart(true));
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
    const auto manager = platform().connectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->sessionEnding(), GetParam().ending);
}

INSTANTIATE_TEST_SUITE_P(States, LogindEndingTest, ::testing::ValuesIn(EndingCases),
                         test::RowName());

// The state is asked for each time: a shutdown starting after the first look is still seen.
TEST_F(LogindTest, ShutdownStartingWhileRunningEndsTheSession) {
    ASSERT_NO_FATAL_FAILURE(startSystemBus());
    const auto manager = platform().connectSessionManager();
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
