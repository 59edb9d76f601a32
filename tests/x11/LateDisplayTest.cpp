// The lockdown's parts can be put in place after the kiosk started: an X server that comes
// late, or one without its lock file, is used once it is there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/Desktop.h"
#include "platform/InputHooks.h"
#include "platform/Platform.h"
#include "tests/support/RealPlatform.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

// A display number no server uses now.
int freeDisplayNumber() {
    for (int number = 70;; ++number) {
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) &&
            !std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
            return number;
        }
    }
}

class LateDisplayTest : public ::testing::Test {
protected:
    void TearDown() override {
        test::realPlatform().inputHooks().remove();
        if (m_server > 0) {
            ::kill(m_server, SIGKILL);
            ::waitpid(m_server, nullptr, 0);
        }
    }

    // Starts Xvfb on the display and waits until it takes connections.
    bool startServer() {
        m_server = ::fork();
        if (m_server == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            const int quiet = ::open("/dev/null", O_RDWR);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            ::execlp("Xvfb", "Xvfb", m_display.c_str(), "-nolisten", "tcp", nullptr);
            ::_exit(127);
        }
        const std::string socket = "/tmp/.X11-unix/X" + m_display.substr(1);
        for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
            std::this_thread::sleep_for(100ms);
        }
        std::this_thread::sleep_for(300ms);
        return std::filesystem::exists(socket);
    }

    const std::string m_display = ":" + std::to_string(freeDisplayNumber());
    pid_t m_server = 0;
};

TEST_F(LateDisplayTest, HooksAndControlHoldOnceTheServerIsThere) {
    ::setenv("DISPLAY", m_display.c_str(), 1);
    EXPECT_FALSE(test::realPlatform().inputHooks().install());
    EXPECT_NE(test::realPlatform().inputHooks().shortfall().find("there is no X11 display"),
              std::string::npos);
    EXPECT_LT(test::realPlatform().inputHooks().descriptor(), 0);
    EXPECT_EQ(test::realPlatform().connectDesktop(), nullptr);

    ASSERT_TRUE(startServer());
    std::filesystem::remove("/tmp/.X" + m_display.substr(1) + "-lock");  // not needed to lock it
    EXPECT_TRUE(test::realPlatform().inputHooks().install())
        << test::realPlatform().inputHooks().shortfall();
    EXPECT_EQ(test::realPlatform().inputHooks().shortfall(), "");
    EXPECT_GE(test::realPlatform().inputHooks().descriptor(), 0);
    EXPECT_NE(test::realPlatform().connectDesktop(), nullptr);
}

}  // namespace
}  // namespace plintor
