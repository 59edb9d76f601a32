// What the random comparison with the plain walk reaches only by luck: texts longer than a
// storage block, thousands of masks filed under the same text, clearing and copying.
#include "core/browser/UrlMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/browser/UrlLists.h"
#include "tests/support/LinearUrlMatcher.h"

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

TEST(UrlMatcherTest, MasksLongerThanAStorageBlockKeepTheirPlace) {
    const std::string longPath(200000, 'P');
    UrlMatcher matcher;
    LinearUrlMatcher linear;
    for (int i = 0; i < 30000; ++i) {
        const std::string mask = "HTTP://HOST" + std::to_string(i) + ".EXAMPLE/*";
        matcher.add(mask);
        linear.add(mask);
        if (i == 10000 || i == 20000) {
            matcher.add("HTTP://LONG" + std::to_string(i) + "/" + longPath + "*");
            linear.add("HTTP://LONG" + std::to_string(i) + "/" + longPath + "*");
        }
    }
    EXPECT_EQ(matcher.entries(), linear.entries());
    EXPECT_TRUE(matcher.anyMatches("HTTP://LONG20000/" + longPath + "/X"));
    EXPECT_FALSE(matcher.anyMatches("HTTP://LONG20000/" + longPath.substr(1) + "/X"));
    EXPECT_TRUE(matcher.anyMatches("HTTP://HOST29999.EXAMPLE/A"));
}

// A long deny mask against a long address: the plain walk would take minutes here.
TEST(UrlMatcherTest, LongMasksAgainstLongAddressesAreDecided) {
    const std::string address = "HTTP://HOST/" + std::string(1000000, 'A');
    UrlMatcher near;
    near.add("*" + std::string(10000, 'A') + "B*");
    EXPECT_FALSE(near.anyMatches(address));
    EXPECT_TRUE(near.anyMatches(address + "B"));
    UrlMatcher wild;
    wild.add("*/A*" + std::string(5000, '?') + "[AB]" + std::string(4000, 'A') + "*A");
    EXPECT_TRUE(wild.anyMatches(address));
    EXPECT_FALSE(wild.anyMatches(address.substr(0, 9000)));
}

// Every mask holds the same literal text, so they crowd the same few windows; only the set
// in front tells them apart.
TEST(UrlMatcherTest, MasksSharingAllTheirTextAreAllFound) {
    UrlMatcher matcher;
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i) {
        const std::string digits = std::to_string(i);
        std::string mask;
        for (const char digit : digits) {
            mask += std::string("[") + digit + "]";
        }
        matcher.add(mask + "*.TRACKER.EXAMPLE.COM/*");
        keys.push_back(digits + "X.TRACKER.EXAMPLE.COM/PIXEL");
    }
    for (const std::string& key : keys) {
        EXPECT_TRUE(matcher.anyMatches(key)) << key;
    }
    EXPECT_FALSE(matcher.anyMatches("X3000.TRACKER.EXAMPLE.COM/PIXEL"));
}

TEST(UrlMatcherTest, ClearForgetsMasksAndTheirDuplicates) {
    UrlMatcher matcher;
    for (const char* mask : {"HTTP://A.EXAMPLE/*", "ABOUT:BLANK", "*", "[A"}) {
        matcher.add(mask);
    }
    matcher.clear();
    EXPECT_EQ(matcher.size(), 0u);
    EXPECT_FALSE(matcher.anyMatches("ABOUT:BLANK"));
    EXPECT_TRUE(matcher.add("ABOUT:BLANK"));
    EXPECT_TRUE(matcher.anyMatches("about:blank"));
    EXPECT_EQ(matcher.entries(), Lines{"ABOUT:BLANK"});
}

TEST(UrlMatcherTest, CopiesDecideAloneAfterwards) {
    UrlLists original;
    original.whitelistAddUrl("http://a.example/*");
    UrlLists copy = original;
    copy.whitelistAddUrl("http://b.example/*");
    copy.blacklistAddUrl("*/private/*");
    EXPECT_FALSE(original.isUrlAllowed("http://b.example/x"));
    EXPECT_TRUE(original.isUrlAllowed("http://a.example/private/x"));
    EXPECT_TRUE(copy.isUrlAllowed("http://b.example/x"));
    EXPECT_FALSE(copy.isUrlAllowed("http://a.example/private/x"));
    EXPECT_EQ(copy.whitelist(), (Lines{"HTTP://A.EXAMPLE/*", "HTTP://B.EXAMPLE/*"}));
}

}  // namespace
}  // namespace plintor
