#include "platform/linux/systemd/ShellScope.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

struct GroupCase {
    const char* name;
    const char* cgroup;  // the text of /proc/self/cgroup
    bool userService;
};

const GroupCase GroupCases[] = {
    {"UnitOfTheUsersManager",
     "0::/user.slice/user-1000.slice/user@1000.service/app.slice/plintor.service\n", true},
    {"UnitInTheHybridHierarchy",
     "4:memory:/user.slice\n1:name=systemd:/user.slice/user-1000.slice/user@1000.service/"
     "plintor.service\n0::/user.slice/user-1000.slice/user@1000.service/plintor.service\n",
     true},
    {"DesktopSession", "0::/user.slice/user-1000.slice/session-2.scope\n", false},
    {"ScopeOfTheUsersManager",
     "0::/user.slice/user-1000.slice/user@1000.service/app.slice/run-u7.scope\n", false},
    {"ManagerItself", "0::/user.slice/user-1000.slice/user@1000.service/init.scope\n", false},
    {"SystemService", "0::/system.slice/plintor.service\n", false},
    {"NoServiceManager", "0::/\n", false},
    {"Empty", "", false},
};

class ShellScopeGroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(ShellScopeGroupTest, OnlyAUnitOfTheUsersManagerIsLeft) {
    EXPECT_EQ(ShellScope::isUserService(GetParam().cgroup), GetParam().userService);
}

INSTANTIATE_TEST_SUITE_P(Groups, ShellScopeGroupTest, ::testing::ValuesIn(GroupCases),
                         test::RowName());

const ShellCommand Panel{{"tint2", "-c", "/etc/xdg/tint2/tint2rc"}, "/home/kiosk", {}, ""};

// systemd-run --user --scope asks the user's manager for a scope of its own, moves itself into
// it and only then runs the program in its own place: the program never is in the unit's group,
// which the unit's stop ends.
TEST(ShellScopeTest, InAUnitTheProgramRunsInAScopeOfItsOwn) {
    const ShellScope scope("/usr/bin/systemd-run");
    EXPECT_EQ(scope.program("/usr/bin/tint2"), "/usr/bin/systemd-run");
    EXPECT_EQ(scope.arguments(Panel, "/usr/bin/tint2"),
              (std::vector<std::string>{"/usr/bin/systemd-run", "--user", "--scope", "--quiet",
                                        "--collect", "--", "/usr/bin/tint2", "-c",
                                        "/etc/xdg/tint2/tint2rc"}));

    const ShellScope direct("");
    EXPECT_EQ(direct.program("/usr/bin/tint2"), "/usr/bin/tint2");
    EXPECT_EQ(direct.arguments(Panel, "/usr/bin/tint2"), Panel.arguments);
}

class ShellScopeManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.path("runtime/systemd"));
        std::filesystem::create_directories(m_dir.path("bin"));
        const std::string runner = m_dir.path("bin/systemd-run");
        std::ofstream(runner) << "#!/bin/sh\n";
        std::filesystem::permissions(runner, std::filesystem::perms::owner_all);
    }

    void listen(const std::string& path) {
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    void TearDown() override {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }

    std::vector<std::string> environment() const {
        return {"PATH=" + m_dir.path("bin"), "XDG_RUNTIME_DIR=" + m_dir.path("runtime")};
    }

    test::TempDir m_dir;
    int m_socket = -1;
};

// The scope is used only where the unit's stop would end the shell, and only when the manager
// can be asked for it; elsewhere the program starts directly, as before.
TEST_F(ShellScopeManagerTest, TheScopeIsUsedInAUnitWhenTheManagerAnswers) {
    const char* unit = GroupCases[0].cgroup;
    EXPECT_FALSE(ShellScope::forProcess(unit, environment()).usesScope()) << "no manager";
    listen(m_dir.path("runtime/systemd/private"));
    const ShellScope scope = ShellScope::forProcess(unit, environment());
    EXPECT_EQ(scope.program("/usr/bin/tint2"), m_dir.path("bin/systemd-run"));
    EXPECT_FALSE(ShellScope::forProcess(GroupCases[2].cgroup, environment()).usesScope())
        << "a desktop session keeps its programs";
    EXPECT_FALSE(ShellScope::forProcess(unit, {"PATH=" + m_dir.path("bin")}).usesScope())
        << "no runtime folder";
    EXPECT_FALSE(ShellScope::forProcess(
                     unit, {"PATH=/nonexistent", "XDG_RUNTIME_DIR=" + m_dir.path("runtime")})
                     .usesScope())
        << "no systemd-run";
}

}  // namespace
}  // namespace plintor
