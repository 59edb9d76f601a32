#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(CommandLineTest, ModeNeedsTheExactSwitchAndAnAddress) {
    const struct {
        const char* Name;
        TArguments Arguments;
        bool SafeMode;
        std::string Address;
    } cases[] = {
        {"SwitchAlone", {"plintor", "-SafeWebBrowser"}, false, ""},
        {"AddressAlone", {"plintor", "http://a/"}, false, "http://a/"},
        {"LowerCaseAfterHyphen",
         {"plintor", "-safewebbrowser", "http://a/", "http://b/"},
         true,
         "http://a/"},
        {"SlashLeadAnyWhere", {"plintor", "http://a/", "/SAFEWEBBROWSER"}, true, "http://a/"},
        {"AppendedTextDoesNotCount",
         {"plintor", "-SafeWebBrowserX", "http://a/"},
         false,
         "http://a/"},
        {"OwnSwitchesAreSwitches",
         {"plintor", "--home=/srv", "-SafeWebBrowser", "http://a/"},
         true,
         "http://a/"},
        {"EmptyParameterIsPlain", {"plintor", "-SafeWebBrowser", ""}, true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSafeWebBrowserMode(c.Arguments), c.SafeMode) << c.Name;
        EXPECT_EQ(PlainParam(c.Arguments, 1), c.Address) << c.Name;
    }
}

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
