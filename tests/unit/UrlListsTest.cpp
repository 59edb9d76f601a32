#include "browser/UrlLists.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

struct TDecisionCase {
    const char* Name;
    Lines Allow;
    Lines Deny;
    std::string Url;
    bool Allowed;
};

class IsURLAllowedTest : public ::testing::TestWithParam<TDecisionCase> {};

TEST_P(IsURLAllowedTest, Decides) {
    TUrlLists lists;
    for (const std::string& mask : GetParam().Allow) {
        lists.WhitelistAddURL(mask);
    }
    for (const std::string& mask : GetParam().Deny) {
        lists.BlacklistAddURL(mask);
    }
    EXPECT_EQ(lists.IsURLAllowed(GetParam().Url), GetParam().Allowed) << GetParam().Url;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, IsURLAllowedTest,
    ::testing::Values(
        TDecisionCase{"EmptyListsBlockTheWeb", {}, {}, "http://host/", false},
        TDecisionCase{"EmptyListsAllowADrivePath", {}, {}, "C:\\Temp\\a.pdf", true},
        TDecisionCase{"EmptyListsAllowAFileUrl", {}, {}, "file:///C:/Temp/a.pdf", true},
        TDecisionCase{"QueryIsNotMatched", {"HTTP://HOST*"}, {}, "http://host/x?y=1", true},
        TDecisionCase{"SchemeIsPartOfTheKey", {"HTTP://HOST*"}, {}, "https://host/x", false},
        TDecisionCase{"DenyWinsOverAllow", {"*"}, {"*.EXE"}, "http://host/setup.exe", false},
        TDecisionCase{"DenyIgnoresTheQuery", {"*"}, {"*.EXE"}, "http://host/setup.exe?v=2", false},
        TDecisionCase{"AllowAllLetsThrough", {"*"}, {"*.EXE"}, "http://host/", true},
        TDecisionCase{"EntrySlashIsDropped", {"http://host/"}, {}, "http://host", true},
        TDecisionCase{"KeySlashIsDropped", {"http://host/"}, {}, "http://host/", true},
        TDecisionCase{"KeyQueryIsDropped", {"http://host/"}, {}, "http://host/?q=1", true},
        TDecisionCase{"OnlyOneSlashIsDropped", {"http://host/"}, {}, "http://host//", false},
        TDecisionCase{"FragmentBeforeQueryStays", {"http://host/"}, {}, "http://host/#top", false},
        TDecisionCase{"DenyMaskBlocksLocalPaths", {}, {"C:\\*"}, "C:\\Temp\\a.pdf", false},
        TDecisionCase{"ForwardSlashIsNotADrivePath", {}, {}, "c:/temp/a.pdf", false},
        TDecisionCase{"AboutBlankNeedsAMask", {"http://host*"}, {}, "about:blank", false},
        TDecisionCase{"AboutBlankWithItsMask", {"about:blank"}, {}, "about:blank", true},
        TDecisionCase{"InvalidAllowMaskIsSkipped", {"[A", "*"}, {}, "http://host/", true},
        TDecisionCase{"InvalidAllowMaskAloneBlocks", {"[A"}, {}, "http://host/", false},
        TDecisionCase{
            "InvalidLastDenyMaskDoesNotBlock", {"*"}, {"*.EXE", "[A"}, "http://host/", true},
        TDecisionCase{"InvalidDenyMaskDoesNotHideALaterMatch",
                      {"*"},
                      {"[A", "*.EXE"},
                      "http://h/a.exe",
                      false},
        TDecisionCase{"UserInfoIsNotTheHost",
                      {"http://allowed.example*"},
                      {},
                      "http://allowed.example@evil.example/",
                      false},
        TDecisionCase{"UserAndPasswordAreNotTheHost",
                      {"http://allowed.example*"},
                      {},
                      "http://allowed.example:pw@evil.example/page",
                      false},
        TDecisionCase{"UserInfoOnAnAllowedHost",
                      {"http://allowed.example/*"},
                      {},
                      "http://visitor@allowed.example/page",
                      true},
        TDecisionCase{"AtInThePathIsNotUserInfo",
                      {"http://allowed.example/*"},
                      {},
                      "http://allowed.example/mail@home",
                      true},
        TDecisionCase{"NonAsciiIsUpperCased",
                      {"http://b\xC3\xBC"
                       "cher.de/*"},
                      {},
                      "http://B\xC3\x9C"
                      "CHER.de/x",
                      true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(UrlListsTest, AddersNormaliseAndIgnoreEmptyAndDuplicateEntries) {
    TUrlLists lists;
    lists.WhitelistAddURL("http://Host");
    lists.WhitelistAddURL("HTTP://host/");
    lists.WhitelistAddURL("");
    lists.WhitelistAddURL("/");
    lists.WhitelistAddURL(" http://spaced/?q#f ");
    EXPECT_EQ(lists.Whitelist(), (Lines{"HTTP://HOST", " HTTP://SPACED/?Q#F "}));
    lists.BlacklistAddURL("http://host/");
    EXPECT_EQ(lists.Blacklist(), Lines{"HTTP://HOST"});
}

TEST(UrlListsTest, AllowAllKeepsTheDenyListAndClearEmptiesBoth) {
    TUrlLists lists;
    for (const char* url : {"a", "b", "c", "d", "e"}) {
        lists.WhitelistAddURL(url);
    }
    lists.BlacklistAddURL("*.EXE");
    lists.WhitelistAllowAll();
    EXPECT_EQ(lists.Whitelist(), Lines{"*"});
    EXPECT_FALSE(lists.IsURLAllowed("http://host/a.exe"));
    lists.WhitelistAddURL("f");
    EXPECT_EQ(lists.Whitelist(), (Lines{"*", "F"}));
    lists.WhitelistClear();
    EXPECT_TRUE(lists.Whitelist().empty());
    EXPECT_TRUE(lists.Blacklist().empty());
}

TEST(CandidateKeyTest, Normalises) {
    EXPECT_EQ(CandidateKey("http://host/"), "HTTP://HOST");
    EXPECT_EQ(CandidateKey("http://host/?page=2"), "HTTP://HOST");
    EXPECT_EQ(CandidateKey("http://host/#top"), "HTTP://HOST/#TOP");
    EXPECT_EQ(CandidateKey("http://u:p@host:8080/a@b?c@d"), "HTTP://HOST:8080/A@B");
    EXPECT_EQ(CandidateKey("mailto:a@b"), "MAILTO:A@B");
}

}  // namespace
}  // namespace plintor
