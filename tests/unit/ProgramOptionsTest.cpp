#include "core/app/ProgramOptions.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(ProgramOptionsTest, OperatorAndClientModes) {
    TProgramOptions options =
        ParseProgramOptions({"--home=/srv/kiosk", "--check-url", "http://a/", "--home=x"});
    EXPECT_EQ(options.Mode, TProgramMode::CheckUrl);
    EXPECT_EQ(options.Home, "/srv/kiosk");
    EXPECT_EQ(options.Addresses, (std::vector<std::string>{"http://a/", "--home=x"}));

    options = ParseProgramOptions({"--send", "navigate", "http://a/"});
    EXPECT_EQ(options.Mode, TProgramMode::Send);
    EXPECT_EQ(options.SendWords, (std::vector<std::string>{"navigate", "http://a/"}));

    options = ParseProgramOptions({"-SafeWebBrowser", "http://a/"});
    EXPECT_EQ(options.Mode, TProgramMode::Kiosk);
    EXPECT_FALSE(options.Home);
}

struct TOptionsCase {
    const char* Name;
    std::vector<std::string> Arguments;
    TProgramMode Mode;
    std::string Problem;
};

const TOptionsCase OptionsCases[] = {
    {"NoArguments", {}, TProgramMode::Kiosk, ""},
    {"HomeOnly", {"--home=/srv"}, TProgramMode::Kiosk, ""},
    {"SafeBrowser", {"/safewebbrowser", "http://a/", "http://b/"}, TProgramMode::Kiosk, ""},
    {"SafeSwitchAloneIsTheKiosk", {"-SafeWebBrowser"}, TProgramMode::Kiosk, ""},
    {"Help", {"--help"}, TProgramMode::Help, ""},
    {"ShortHelp", {"--home=/x", "-h"}, TProgramMode::Help, ""},
    {"HelpWinsOverVersion", {"--version", "--help"}, TProgramMode::Help, ""},
    {"Version", {"--version"}, TProgramMode::Version, ""},
    {"UnknownOption", {"--fullscreen"}, TProgramMode::Invalid, "unknown option \"--fullscreen\""},
    {"HomeWithoutFolder", {"--home"}, TProgramMode::Invalid, "unknown option \"--home\""},
    {"BareWord", {"help"}, TProgramMode::Invalid, "unexpected argument \"help\""},
    {"WordAfterCheckConfig",
     {"--check-config", "now"},
     TProgramMode::Invalid,
     "unexpected argument \"now\""},
    {"CheckUrlWithoutAddress",
     {"--check-url"},
     TProgramMode::Invalid,
     "--check-url needs at least one address"},
    {"CheckUrlTakesAnyWords", {"--check-url", "-x", "y"}, TProgramMode::CheckUrl, ""},
    {"WindowsHelp", {"/?"}, TProgramMode::Invalid, "unknown option \"/?\""},
};

class ProgramOptionsModeTest : public ::testing::TestWithParam<TOptionsCase> {};

TEST_P(ProgramOptionsModeTest, NothingUnknownStartsAKiosk) {
    const TProgramOptions options = ParseProgramOptions(GetParam().Arguments);
    EXPECT_EQ(options.Mode, GetParam().Mode);
    EXPECT_EQ(options.Problem, GetParam().Problem);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ProgramOptionsModeTest, ::testing::ValuesIn(OptionsCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
