#include "core/app/ProgramOptions.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(ProgramOptionsTest, OperatorAndClientModes) {
    ProgramOptions options =
        parseProgramOptions({"--home=/srv/kiosk", "--check-url", "http://a/", "--home=x"});
    EXPECT_EQ(options.mode, ProgramMode::CheckUrl);
    EXPECT_EQ(options.home, "/srv/kiosk");
    EXPECT_EQ(options.addresses, (std::vector<std::string>{"http://a/", "--home=x"}));

    options = parseProgramOptions({"--send", "navigate", "http://a/"});
    EXPECT_EQ(options.mode, ProgramMode::Send);
    EXPECT_EQ(options.sendWords, (std::vector<std::string>{"navigate", "http://a/"}));

    options = parseProgramOptions({"-SafeWebBrowser", "http://a/"});
    EXPECT_EQ(options.mode, ProgramMode::Kiosk);
    EXPECT_FALSE(options.home);
}

struct OptionsCase {
    const char* name;
    std::vector<std::string> arguments;
    ProgramMode mode;
    std::string problem;
};

const OptionsCase OptionsCases[] = {
    {"NoArguments", {}, ProgramMode::Kiosk, ""},
    {"HomeOnly", {"--home=/srv"}, ProgramMode::Kiosk, ""},
    {"SafeBrowser", {"/safewebbrowser", "http://a/", "http://b/"}, ProgramMode::Kiosk, ""},
    {"Help", {"--help"}, ProgramMode::Help, ""},
    {"ShortHelp", {"--home=/x", "-h"}, ProgramMode::Help, ""},
    {"HelpWinsOverVersion", {"--version", "--help"}, ProgramMode::Help, ""},
    {"Version", {"--version"}, ProgramMode::Version, ""},
    {"UnknownOption", {"--fullscreen"}, ProgramMode::Invalid, "unknown option \"--fullscreen\""},
    {"HomeWithoutFolder", {"--home"}, ProgramMode::Invalid, "unknown option \"--home\""},
    {"BareWord", {"help"}, ProgramMode::Invalid, "unexpected argument \"help\""},
    {"WordAfterCheckConfig",
     {"--check-config", "now"},
     ProgramMode::Invalid,
     "unexpected argument \"now\""},
    {"CheckUrlWithoutAddress",
     {"--check-url"},
     ProgramMode::Invalid,
     "--check-url needs at least one address"},
    {"CheckUrlTakesAnyWords", {"--check-url", "-x", "y"}, ProgramMode::CheckUrl, ""},
    {"RestoreDesktop", {"--home=/srv", "--restore-desktop"}, ProgramMode::RestoreDesktop, ""},
    {"WordAfterRestoreDesktop",
     {"--restore-desktop", "now"},
     ProgramMode::Invalid,
     "unexpected argument \"now\""},
    {"WindowsHelp", {"/?"}, ProgramMode::Invalid, "unknown option \"/?\""},
    {"SafeSwitchWithoutAddress",
     {"-SafeWebBrowser"},
     ProgramMode::Invalid,
     "-SafeWebBrowser needs the address to show"},
    {"SafeSwitchWithHomeOnly",
     {"--home=/srv", "/safewebbrowser"},
     ProgramMode::Invalid,
     "-SafeWebBrowser needs the address to show"},
    {"SafeSwitchAsCheckedAddress", {"--check-url", "-SafeWebBrowser"}, ProgramMode::CheckUrl, ""},
};

class ProgramOptionsModeTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(ProgramOptionsModeTest, NothingUnknownStartsAKiosk) {
    const ProgramOptions options = parseProgramOptions(GetParam().arguments);
    EXPECT_EQ(options.mode, GetParam().mode);
    EXPECT_EQ(options.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ProgramOptionsModeTest, ::testing::ValuesIn(OptionsCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
