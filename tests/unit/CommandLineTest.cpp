#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct TModeCase {
    const char* Name;
    TArguments Arguments;
    bool SafeMode;
    std::string Address;
};

const TModeCase ModeCases[] = {
    {"SwitchAlone", {"plintor", "-SafeWebBrowser"}, false, ""},
    {"AddressAlone", {"plintor", "http://a/"}, false, "http://a/"},
    {"LowerCaseAfterHyphen",
     {"plintor", "-safewebbrowser", "http://a/", "http://b/"},
     true,
     "http://a/"},
    {"SlashLeadAnyWhere", {"plintor", "http://a/", "/SAFEWEBBROWSER"}, true, "http://a/"},
    {"AppendedTextDoesNotCount", {"plintor", "-SafeWebBrowserX", "http://a/"}, false, "http://a/"},
    {"OwnSwitchesAreSwitches",
     {"plintor", "--home=/srv", "-SafeWebBrowser", "http://a/"},
     true,
     "http://a/"},
    {"EmptyParameterIsPlain", {"plintor", "-SafeWebBrowser", ""}, true, ""},
};

class CommandLineModeTest : public ::testing::TestWithParam<TModeCase> {};

TEST_P(CommandLineModeTest, ModeNeedsTheExactSwitchAndAnAddress) {
    EXPECT_EQ(IsSafeWebBrowserMode(GetParam().Arguments), GetParam().SafeMode);
    EXPECT_EQ(PlainParam(GetParam().Arguments, 1), GetParam().Address);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineModeTest, ::testing::ValuesIn(ModeCases),
                         test::TRowName());

TEST(CommandLineTest, PlainParameters) {
    const TArguments arguments{"/opt/plintor", "-x", "one", "/y", "two"};
    EXPECT_EQ(CountPlainParams(arguments), 2);
    EXPECT_EQ(PlainParam(arguments, 0), "/opt/plintor");
    EXPECT_EQ(PlainParam(arguments, 2), "two");
    EXPECT_EQ(PlainParam(arguments, 3), "");
    EXPECT_EQ(PlainParam(arguments, -1), "");
    EXPECT_EQ(PlainParam({"/opt/plintor"}, 0), "/opt/plintor");
    EXPECT_EQ(CountPlainParams({"/opt/plintor"}), 0);
}

}  // namespace
}  // namespace plintor
