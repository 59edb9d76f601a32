#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct ModeCase {
    const char* name;
    Arguments arguments;
    bool safeMode;
    std::string address;
};

const ModeCase ModeCases[] = {
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

class CommandLineModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(CommandLineModeTest, ModeNeedsTheExactSwitchAndAnAddress) {
    EXPECT_EQ(isSafeWebBrowserMode(GetParam().arguments), GetParam().safeMode);
    EXPECT_EQ(plainParam(GetParam().arguments, 1), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineModeTest, ::testing::ValuesIn(ModeCases),
                         test::RowName());

TEST(CommandLineTest, PlainParameters) {
    const Arguments arguments{"/opt/plintor", "-x", "one", "/y", "two"};
    EXPECT_EQ(countPlainParams(arguments), 2);
    EXPECT_EQ(plainParam(arguments, 0), "/opt/plintor");
    EXPECT_EQ(plainParam(arguments, 2), "two");
    EXPECT_EQ(plainParam(arguments, 3), "");
    EXPECT_EQ(plainParam(arguments, -1), "");
    EXPECT_EQ(plainParam({"/opt/plintor"}, 0), "/opt/plintor");
    EXPECT_EQ(countPlainParams({"/opt/plintor"}), 0);
}

}  // namespace
}  // namespace plintor
