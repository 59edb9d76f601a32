#include "core/app/HomeFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/config/ConfigFiles.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct HomeCase {
    const char* name;
    HomeFolderFacts facts;
    HomeFolderChoice expected;
};

HomeFolderFacts facts(std::optional<std::string> option, std::string programFolder, bool writable,
                      std::string xdg, std::string home) {
    return {std::move(option), std::move(programFolder), writable,       "/usr/bin",
            "/etc/plintor",    std::move(xdg),           std::move(home)};
}

const HomeCase HomeCases[] = {
    {"PortableKeepsItsOwnFolder",
     facts({}, "/opt/kiosk/", true, "/x", "/home/v"),
     {"/opt/kiosk/", "", false}},
    {"PortableHomeOptionWins",
     facts("/srv/k", "/opt/kiosk/", true, "/x", "/home/v"),
     {"/srv/k", "", false}},
    {"InstalledUsesXdgConfigHome",
     facts({}, "/usr/bin/", true, "/cfg", "/home/v"),
     {"/cfg/plintor", "/etc/plintor", true}},
    {"InstalledWithoutTrailingSlash",
     facts({}, "/usr/bin", true, "/cfg/", "/home/v"),
     {"/cfg/plintor", "/etc/plintor", true}},
    {"UnwritableFolderCountsAsInstalled",
     facts({}, "/opt/ro/", false, "", "/home/v"),
     {"/home/v/.config/plintor", "/etc/plintor", true}},
    {"RelativeXdgIsIgnored",
     facts({}, "/usr/bin/", false, "cfg", "/home/v"),
     {"/home/v/.config/plintor", "/etc/plintor", true}},
    {"InstalledHomeOptionWinsButKeepsSystemDefaults",
     facts("/srv/k", "/usr/bin/", false, "/cfg", "/home/v"),
     {"/srv/k", "/etc/plintor", false}},
    {"InstalledWithoutAnyVariableHasNone",
     facts({}, "/usr/bin/", false, "", ""),
     {"", "/etc/plintor", true}},
};

class ChooseHomeFolderTest : public ::testing::TestWithParam<HomeCase> {};

TEST_P(ChooseHomeFolderTest, FollowsTheRule) {
    const HomeFolderChoice choice = chooseHomeFolder(GetParam().facts);
    EXPECT_EQ(choice.folder, GetParam().expected.folder);
    EXPECT_EQ(choice.systemDefaults, GetParam().expected.systemDefaults);
    EXPECT_EQ(choice.userConfig, GetParam().expected.userConfig);
}

INSTANTIATE_TEST_SUITE_P(Facts, ChooseHomeFolderTest, ::testing::ValuesIn(HomeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SettleHomeFolderTest, InstalledProgramGetsAPrivateFolderUnderXdgConfigHome) {
    TempDir dir;
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.path("config"));
    ProgramOptions options;
    std::ostringstream err;
    // A program folder that takes no file stands for an installed program, even for root.
    ASSERT_TRUE(settleHomeFolder(options, dir.path("missing/plintor"), err)) << err.str();
    EXPECT_EQ(options.home, dir.path("config/plintor"));
    EXPECT_FALSE(options.systemDefaults.empty());
    const auto perms = std::filesystem::status(*options.home).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    ProgramOptions again;  // a second start finds the folder made
    EXPECT_TRUE(settleHomeFolder(again, dir.path("missing/plintor"), err));
}

TEST(SettleHomeFolderTest, PortableProgramKeepsItsFolderAndMakesNothing) {
    TempDir dir;
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.path("config"));
    ProgramOptions options;
    std::ostringstream err;
    ASSERT_TRUE(settleHomeFolder(options, dir.path("plintor"), err));
    EXPECT_EQ(options.home, dir.root().string() + "/");
    EXPECT_TRUE(options.systemDefaults.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path("config")));
}

TEST(SettleHomeFolderTest, NoVariableNamesNoFolder) {
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", "");
    const ScopedEnvironment home("HOME", "");
    ProgramOptions options;
    std::ostringstream err;
    EXPECT_FALSE(settleHomeFolder(options, "/nonexistent-plintor/plintor", err));
    EXPECT_NE(err.str().find("--home"), std::string::npos);
}

// The home folder's own default copies win over the system's, and a working file over both.
TEST(SystemDefaultsTest, FillOnlyWhatTheHomeFolderLacks) {
    TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::create_directories(dir.path("etc"));
    std::filesystem::create_directories(dir.path("home"));
    writeBytes(dir.path("etc/plintor_Default.ini"), "Password=system\n");
    writeBytes(dir.path("etc/Whitelist_Default.txt"), "http://system/*\n");
    writeBytes(dir.path("etc/Blacklist_Default.txt"), "http://system/bad\n");
    std::filesystem::current_path(dir.path("home"));
    writeBytes("Whitelist_Default.txt", "http://own/*\n");
    writeBytes("Blacklist.txt", "http://working/bad\n");
    const ConfigNames names{"plintor", dir.path("etc")};

    const EffectiveFiles read = effectiveFiles(names);  // what the checks read, copying nothing
    EXPECT_EQ(read.config, dir.path("etc/plintor_Default.ini"));
    EXPECT_EQ(read.whitelist, "Whitelist_Default.txt");
    EXPECT_EQ(read.blacklist, "Blacklist.txt");
    EXPECT_FALSE(std::filesystem::exists("plintor.ini"));

    EXPECT_TRUE(copyDefaultFiles(names).empty());
    EXPECT_EQ(readBytes("plintor.ini"), "Password=system\n");
    EXPECT_EQ(readBytes("Whitelist.txt"), "http://own/*\n");
    EXPECT_EQ(readBytes("Blacklist.txt"), "http://working/bad\n");
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace plintor
