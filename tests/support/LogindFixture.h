// A real dbus-daemon on a private bus with fake_logind owning org.freedesktop.login1 on it, for
// the tests of what the program asks of logind. FAKE_LOGIND and PRIVATE_BUS_CONFIG name the
// fake and the bus configuration.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/UniqueFd.h"
#include "tests/support/TempDir.h"

namespace plintor::test {

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
inline std::string readLine(int fd) {
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

inline std::string pid() {
    return std::to_string(::getpid());
}

class LogindFixture : public ::testing::Test {
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

}  // namespace plintor::test
