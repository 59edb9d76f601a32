// What the random comparison with the plain walk reaches only by luck: texts longer than a
// storage block, thousands of masks filed under the same text, clearing and copying.
#include "core/browser/UrlMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/browser/LinearUrlMatcher.h"
#include "core/browser/UrlLists.h"

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

TEST(UrlMatcherTest, MasksLongerThanAStorageBlockKeepTheirPlace) {
    const std::string longPath(200000, 'P');
    TUrlMatcher matcher;
    TLinearUrlMatcher linear;
    for (int i = 0; i < 30000; ++i) {
        const std::string mask = "HTTP://HOST" + std::to_string(i) + ".EXAMPLE/*";
        matcher.Add(mask);
        linear.Add(mask);
        if (i == 10000 || i == 20000) {
            matcher.Add("HTTP://LONG" + std::to_string(i) + "/" + longPath + "*");
            linear.Add("HTTP://LONG" + std::to_string(i) + "/" + longPath + "*");
        }
    }
    EXPECT_EQ(matcher.Entries(), linear.Entries());
    EXPECT_TRUE(matcher.AnyMatches("HTTP://LONG20000/" + longPath + "/X"));
    EXPECT_FALSE(matcher.AnyMatches("HTTP://LONG20000/" + longPath.substr(1) + "/X"));
    EXPECT_TRUE(matcher.AnyMatches("HTTP://HOST29999.EXAMPLE/A"));
}

// A long deny mask against a long address: the plain walk would take minutes here.
TEST(UrlMatcherTest, LongMasksAgainstLongAddressesAreDecided) {
    const std::string address = "HTTP://HOST/" + std::string(1000000, 'A');
    TUrlMatcher near;
    near.Add("*" + std::string(10000, 'A') + "B*");
    EXPECT_FALSE(near.AnyMatches(address));
    EXPECT_TRUE(near.AnyMatches(address + "B"));
    TUrlMatcher wild;
    wild.Add("*/A*" + std::string(5000, '?') + "[AB]" + std::string(4000, 'A') + "*A");
    EXPECT_TRUE(wild.AnyMatches(address));
    EXPECT_FALSE(wild.AnyMatches(address.substr(0, 9000)));
}

// Every mask holds the same literal text, so they crowd the same few windows; only the set
// in front tells them apart.
TEST(UrlMatcherTest, MasksSharingAllTheirTextAreAllFound) {
    TUrlMatcher matcher;
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i) {
        const std::string digits = std::to_string(i);
        std::string mask;
        for (const char digit : digits) {
            mask += std::string("[") + digit + "]";
        }
        matcher.Add(mask + "*.TRACKER.EXAMPLE.COM/*");
        keys.push_back(digits + "X.TRACKER.EXAMPLE.COM/PIXEL");
    }
    for (const std::string& key : keys) {
        EXPECT_TRUE(matcher.AnyMatches(key)) << key;
    }
    EXPECT_FALSE(matcher.AnyMatches("X3000.TRACKER.EXAMPLE.COM/PIXEL"));
}

TEST(UrlMatcherTest, ClearForgetsMasksAndTheirDuplicates) {
    TUrlMatcher matcher;
    for (const char* mask : {"HTTP://A.EXAMPLE/*", "ABOUT:BLANK", "*", "[A"}) {
        matcher.Add(mask);
    }
    matcher.Clear();
    EXPECT_EQ(matcher.Size(), 0u);
    EXPECT_FALSE(matcher.AnyMatches("ABOUT:BLANK"));
    EXPECT_TRUE(matcher.Add("ABOUT:BLANK"));
    EXPECT_TRUE(matcher.AnyMatches("about:blank"));
    EXPECT_EQ(matcher.Entries(), Lines{"ABOUT:BLANK"});
}

TEST(UrlMatcherTest, CopiesDecideAloneAfterwards) {
    TUrlLists original;
    original.WhitelistAddURL("http://a.example/*");
    TUrlLists copy = original;
    copy.WhitelistAddURL("http://b.example/*");
    copy.BlacklistAddURL("*/private/*");
    EXPECT_FALSE(original.IsURLAllowed("http://b.example/x"));
    EXPECT_TRUE(original.IsURLAllowed("http://a.example/private/x"));
    EXPECT_TRUE(copy.IsURLAllowed("http://b.example/x"));
    EXPECT_FALSE(copy.IsURLAllowed("http://a.example/private/x"));
    EXPECT_EQ(copy.Whitelist(), (Lines{"HTTP://A.EXAMPLE/*", "HTTP://B.EXAMPLE/*"}));
}

}  // namespace
}  // namespace plintor
