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
IPlatform& Platform() {
    static const std::unique_ptr<IPlatform> platform = CreatePlatform();
    return *platform;
}

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

constexpr std::chrono::seconds StartTimeout{10};

// Sets or unsets an environment variable for the scope, then puts the old value back.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const char* value) : FName(name) {
        if (const char* saved = std::getenv(name)) {
            FSaved = saved;
        }
        Set(value);
    }
    ~TScopedEnv() { Set(FSaved ? FSaved->c_str() : nullptr); }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

    void Set(const char* value) {
        if (value != nullptr) {
            ::setenv(FName.c_str(), value, 1);
        } else {
            ::unsetenv(FName.c_str());
        }
    }

private:
    std::string FName;
    std::optional<std::string> FSaved;
};

// A helper process that dies with the test, also when the test itself crashes.
class TChild {
public:
    TChild() = default;
    // `output` becomes the child's standard output and `extra` its descriptor 3, when given.
    TChild(const std::vector<std::string>& command, int output, int extra) {
        std::vector<char*> argv;
        for (const std::string& argument : command) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        FPid = ::fork();
        if (FPid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            Inherit(output, STDOUT_FILENO);
            Inherit(extra, 3);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~TChild() { Kill(); }
    TChild(TChild&& other) noexcept : FPid(std::exchange(other.FPid, -1)) {}
    TChild& operator=(TChild&& other) noexcept {
        if (this != &other) {
            Kill();
            FPid = std::exchange(other.FPid, -1);
        }
        return *this;
    }

    void Signal(int signal) const { ::kill(FPid, signal); }
    void Kill() {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
            FPid = -1;
        }
    }

private:
    static void Inherit(int fd, int target) {
        if (fd == target) {
            ::fcntl(fd, F_SETFD, 0);
        } else if (fd >= 0) {
            ::dup2(fd, target);
        }
    }

    pid_t FPid = -1;
};

// The first line written to `fd`, or "" when none comes in time.
std::string ReadLine(int fd) {
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

struct TPipe {
    TPipe() {
        int ends[2] = {-1, -1};
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        Read = TUniqueFd(ends[0]);
        Write = TUniqueFd(ends[1]);
    }
    TUniqueFd Read;
    TUniqueFd Write;
};

std::string Pid() {
    return std::to_string(::getpid());
}

class LogindTest : public ::testing::Test {
protected:
    // A fresh bus each time, so a restarted fake never races its predecessor for the name.
    void StartSystemBus(const std::vector<std::string>& logindOptions = {}) {
        FLogind.Kill();
        FBus.Kill();
        const std::string config = FDir.Path("bus.conf");
        WriteBytes(config, BusConfig(FDir.Path("bus-" + std::to_string(++FBusCount))));
        TPipe address;
        FBus = TChild({"/usr/bin/dbus-daemon", "--config-file=" + config, "--nofork", "--nopidfile",
                       "--print-address=3"},
                      -1, address.Write.Get());
        address.Write.Close();
        FAddress = ReadLine(address.Read.Get());
        ASSERT_FALSE(FAddress.empty()) << "dbus-daemon did not start";
        FSystemBus.Set(FAddress.c_str());

        std::vector<std::string> command = {FAKE_LOGIND, "--bus", FAddress, "--record", Record()};
        command.insert(command.end(), logindOptions.begin(), logindOptions.end());
        TPipe ready;
        FLogind = TChild(command, ready.Write.Get(), -1);
        ready.Write.Close();
        ASSERT_EQ(ReadLine(ready.Read.Get()), "ready") << "fake_logind did not start";
        ClearCalls();
    }

    std::string Record() const { return FDir.Path("calls"); }
    void ClearCalls() const { WriteBytes(Record(), ""); }
    Lines Calls() const {
        Lines lines;
        std::istringstream text(ReadBytes(Record()));
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static std::string BusConfig(const std::string& socket) {
        std::string config = ReadBytes(PRIVATE_BUS_CONFIG);
        config.replace(config.find("@SOCKET@"), 8, socket);
        return config;
    }

    TTempDir FDir;
    TScopedEnv FSystemBus{"DBUS_SYSTEM_BUS_ADDRESS", nullptr};
    TScopedEnv FSessionId{"XDG_SESSION_ID", nullptr};
    TChild FBus;
    TChild FLogind;
    std::string FAddress;
    int FBusCount = 0;
};

struct TPowerCase {
    const char* Name;
    bool (IPowerActions::*Action)(bool);
    Lines Expected;
};

const TPowerCase PowerCases[] = {
    {"ShutDown", &IPowerActions::WindowsShutDown, {"PowerOff false"}},
    {"Restart", &IPowerActions::WindowsRestart, {"Reboot false"}},
    {"LogOff", &IPowerActions::WindowsLogOff, {"GetSessionByPID " + Pid(), "TerminateSession 1"}},
};

class LogindPowerTest : public LogindTest, public ::testing::WithParamInterface<TPowerCase> {};

TEST_P(LogindPowerTest, PowerActionsReachLogindNonInteractively) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    EXPECT_TRUE((Platform().PowerActions().*GetParam().Action)(true));
    EXPECT_EQ(Calls(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Actions, LogindPowerTest, ::testing::ValuesIn(PowerCases),
                         test::TRowName());

// The calls must reach logind, so false comes from its answer and not from a call never made.
TEST_F(LogindTest, RefusedRequestsReportFalse) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus({"--refuse"}));
    EXPECT_FALSE(Platform().PowerActions().WindowsShutDown(true));
    EXPECT_FALSE(Platform().PowerActions().WindowsRestart(true));
    EXPECT_FALSE(Platform().PowerActions().WindowsLogOff(true));
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(manager->InhibitSleep());
    EXPECT_FALSE(manager->InhibitSleep()) << "a refused inhibitor must not count as held";
    EXPECT_EQ(Calls(), (Lines{"PowerOff false", "Reboot false", "GetSessionByPID " + Pid(),
                              "TerminateSession 1", "Inhibit sleep:idle Plintor block",
                              "Inhibit sleep:idle Plintor block"}));
}

struct TNoBusCase {
    const char* Name;
    const char* Address;
    bool InFolder;  // Address is a socket file in the test's folder
};

const TNoBusCase NoBusCases[] = {
    {"MissingSocket", "missing", true},
    {"PlainFile", "plain-file", true},
    {"NotABusAddress", "not-a-bus-address", false},
};

class LogindNoBusTest : public LogindTest, public ::testing::WithParamInterface<TNoBusCase> {};

TEST_P(LogindNoBusTest, WithoutABusThereIsNoManagerAndNoPowerAction) {
    WriteBytes(FDir.Path("plain-file"), "");
    const std::string address = GetParam().InFolder ? "unix:path=" + FDir.Path(GetParam().Address)
                                                    : std::string(GetParam().Address);
    FSystemBus.Set(address.c_str());
    EXPECT_EQ(Platform().ConnectSessionManager(), nullptr);
    EXPECT_FALSE(Platform().PowerActions().WindowsShutDown(true));
    EXPECT_FALSE(Platform().PowerActions().WindowsRestart(true));
    EXPECT_FALSE(Platform().PowerActions().WindowsLogOff(true));
}

INSTANTIATE_TEST_SUITE_P(Addresses, LogindNoBusTest, ::testing::ValuesIn(NoBusCases),
                         test::TRowName());

// A stopped dbus-daemon still accepts connections in the kernel but never answers the handshake;
// without a limit of its own the connection would wait for sd-bus's 90 seconds.
TEST_F(LogindTest, StuckBusDoesNotHangTheConnection) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    FBus.Signal(SIGSTOP);
    EXPECT_EQ(Platform().ConnectSessionManager(), nullptr);
}

TEST_F(LogindTest, StuckLogindCountsAsRefused) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    FLogind.Signal(SIGSTOP);
    EXPECT_FALSE(manager->PowerOff());
}

TEST_F(LogindTest, BusGoneAfterConnectingMakesEveryRequestFail) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    FBus.Kill();
    EXPECT_FALSE(manager->PowerOff());
    EXPECT_FALSE(manager->Reboot());
    EXPECT_FALSE(manager->TerminateOwnSession());
    EXPECT_FALSE(manager->InhibitSleep());
    EXPECT_FALSE(manager->SessionEnding());
    manager->ReleaseSleepInhibitor();
}

struct TTerminateCase {
    const char* Name;
    const char* SessionId;  // XDG_SESSION_ID; null: unset
    bool Accepted;
    Lines Expected;
};

const TTerminateCase TerminateCases[] = {
    {"IdFromTheEnvironment", "1", true, {"TerminateSession 1"}},
    {"IdLookedUpByProcess", nullptr, true, {"GetSessionByPID " + Pid(), "TerminateSession 1"}},
    {"EmptyIdLookedUpByProcess", "", true, {"GetSessionByPID " + Pid(), "TerminateSession 1"}},
    {"UnknownId", "c9", false, {"TerminateSession c9"}},
};

class LogindTerminateTest : public LogindTest,
                            public ::testing::WithParamInterface<TTerminateCase> {};

TEST_P(LogindTerminateTest, TerminateOwnSessionPrefersTheSessionIdFromTheEnvironment) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    FSessionId.Set(GetParam().SessionId);
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->TerminateOwnSession(), GetParam().Accepted);
    EXPECT_EQ(Calls(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Sessions, LogindTerminateTest, ::testing::ValuesIn(TerminateCases),
                         test::TRowName());

// fake_logind records a release before the next call it records, so each Reboot below marks the
// point by which a closed inhibitor must show up.
TEST_F(LogindTest, SleepInhibitorIsHeldUntilReleasedOrDestroyed) {
    const Lines inhibit = {"Inhibit sleep:idle Plintor block"};
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);

    ASSERT_TRUE(manager->InhibitSleep());
    EXPECT_TRUE(manager->InhibitSleep()) << "a second request while holding one";
    ASSERT_TRUE(manager->Reboot());
    EXPECT_EQ(Calls(), (Lines{inhibit[0], "Reboot false"}));

    ClearCalls();
    manager->ReleaseSleepInhibitor();
    manager->ReleaseSleepInhibitor();
    ASSERT_TRUE(manager->Reboot());
    EXPECT_EQ(Calls(), (Lines{"Inhibitor released", "Reboot false"}));

    ClearCalls();
    ASSERT_TRUE(manager->InhibitSleep()) << "inhibiting again after a release";
    manager.reset();
    ASSERT_TRUE(Platform().PowerActions().WindowsRestart(true));
    EXPECT_EQ(Calls(), (Lines{inhibit[0], "Inhibitor released", "Reboot false"}));
}

struct TEndingCase {
    const char* Name;
    std::vector<std::string> LogindOptions;
    const char* SessionId;  // XDG_SESSION_ID; null: unset
    bool Ending;
};

const TEndingCase EndingCases[] = {
    {"ActiveSession", {}, nullptr, false},
    {"SessionOnline", {"--session-state", "online"}, nullptr, false},
    {"MachinePreparingToShutDown", {"--preparing"}, nullptr, true},
    {"ClosingSessionFoundByProcess", {"--session-state", "closing"}, nullptr, true},
    {"ClosingSessionFoundById", {"--session-state", "closing"}, "1", true},
    {"UnknownSessionId", {"--session-state", "closing"}, "c9", false},
};

class LogindEndingTest : public LogindTest, public ::testing::WithParamInterface<TEndingCase> {};

TEST_P(LogindEndingTest, SessionEndsWhenTheMachineShutsDownOrTheSessionCloses) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus(GetParam().LogindOptions));
    FSessionId.Set(GetParam().SessionId);
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->SessionEnding(), GetParam().Ending);
}

INSTANTIATE_TEST_SUITE_P(States, LogindEndingTest, ::testing::ValuesIn(EndingCases),
                         test::TRowName());

// The state is asked for each time: a shutdown starting after the first look is still seen.
TEST_F(LogindTest, ShutdownStartingWhileRunningEndsTheSession) {
    ASSERT_NO_FATAL_FAILURE(StartSystemBus());
    const auto manager = Platform().ConnectSessionManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_FALSE(manager->SessionEnding());
    FLogind.Signal(SIGUSR1);
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    bool ending = false;
    while (!ending && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ending = manager->SessionEnding();
    }
    EXPECT_TRUE(ending);
}

}  // namespace
}  // namespace plintor
