#include "core/browser/UrlLists.h"

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

// Deny masks for one host as the README shows them.
Lines HostMasks(const std::string& host) {
    return {"*://" + host, "*://" + host + "[/:#]*", "*://*." + host, "*://*." + host + "[/:#]*"};
}
const Lines LocalhostMasks = HostMasks("localhost");
const Lines Loopback2Masks = HostMasks("127.0.0.2");
const Lines SecretMasks = {"http://host/secret", "http://host/secret/*",
                           "http://host/allowed/secret", "http://host/allowed/secret/*"};

class IsURLAllowedTest : public ::testing::TestWithParam<TDecisionCase> {};

// The kiosk's own temporary documents in these tests.
const Lines OwnDocuments = {"/tmp/kiosk/temp.pdf", "/tmp/my dir/temp.docx", "C:\\Temp\\temp.pdf"};

TEST_P(IsURLAllowedTest, Decides) {
    TUrlLists lists;
    lists.SetOwnDocuments(OwnDocuments);
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
        TDecisionCase{"EmptyListsBlockADrivePath", {}, {}, "C:\\Temp\\a.pdf", false},
        TDecisionCase{"EmptyListsBlockAFileUrl", {}, {}, "file:///C:/Temp/a.pdf", false},
        TDecisionCase{"OwnDocumentPasses", {}, {}, "file:///tmp/kiosk/temp.pdf", true},
        TDecisionCase{"OwnDocumentWithViewerFragment",
                      {},
                      {},
                      "file:///tmp/kiosk/temp.pdf#toolbar=0&navpanes=0",
                      true},
        TDecisionCase{"OwnDocumentAsDrivePath", {}, {}, "C:\\Temp\\temp.pdf", true},
        TDecisionCase{"OwnDocumentAsFileUrlOfADrive", {}, {}, "file:///C:/Temp/temp.pdf", true},
        TDecisionCase{"OwnDocumentWithEscapes", {}, {}, "file:///tmp/my%20dir/temp.docx", true},
        TDecisionCase{"OtherFileOfTheTempFolder", {}, {}, "file:///tmp/kiosk/temp.tmp", false},
        TDecisionCase{"SystemFileNeedsAMask", {"http://host/*"}, {}, "file:///etc/hosts", false},
        TDecisionCase{"FolderNeedsAMask", {"http://host/*"}, {}, "file:///usr/share/", false},
        TDecisionCase{
            "LocalFileAllowedByAMask", {"file:///srv/docs/*"}, {}, "file:///srv/docs/a.pdf", true},
        TDecisionCase{"DenyStillBlocksAnOwnDocument",
                      {},
                      {"file:///tmp/*"},
                      "file:///tmp/kiosk/temp.pdf",
                      false},
        TDecisionCase{"QueryIsNotMatched", {"HTTP://HOST*"}, {}, "http://host/x?y=1", true},
        TDecisionCase{"SchemeIsPartOfTheKey", {"HTTP://HOST*"}, {}, "https://host/x", false},
        TDecisionCase{"DenyWinsOverAllow", {"*"}, {"*.EXE"}, "http://host/setup.exe", false},
        TDecisionCase{"DenyIgnoresTheQuery", {"*"}, {"*.EXE"}, "http://host/setup.exe?v=2", false},
        TDecisionCase{"AllowAllLetsThrough", {"*"}, {"*.EXE"}, "http://host/", true},
        TDecisionCase{"EntrySlashIsDropped", {"http://host/"}, {}, "http://host", true},
        TDecisionCase{"KeySlashIsDropped", {"http://host/"}, {}, "http://host/", true},
        TDecisionCase{"KeyQueryIsDropped", {"http://host/"}, {}, "http://host/?q=1", true},
        TDecisionCase{"OnlyOneSlashIsDropped", {"http://host/"}, {}, "http://host//", false},
        TDecisionCase{"FragmentIsNotMatched", {"http://host/"}, {}, "http://host/#top", true},
        TDecisionCase{"FragmentCannotCarryAnAllowedAddress",
                      {"*://library.example/open/*"},
                      {},
                      "http://evil.example/x#://library.example/open/y",
                      false},
        TDecisionCase{"PathCannotCarryAnAllowedAddress",
                      {"*://library.example/open/*"},
                      {},
                      "http://evil.example/://library.example/open/y",
                      false},
        TDecisionCase{"ScriptCannotCarryAnAllowedAddress",
                      {"*://library.example/open/*"},
                      {},
                      "javascript:go('http://library.example/open/y')",
                      false},
        TDecisionCase{"SchemeStarMatchesSchemes",
                      {"*://library.example/open/*"},
                      {},
                      "https://library.example/open/a",
                      true},
        TDecisionCase{"DenyMaskKeepsTheWholeLanguage",
                      {"*"},
                      {"*://library.example/open/*"},
                      "http://evil.example/://library.example/open/y",
                      false},
        TDecisionCase{
            "TrailingDotOnTheHost", {"*"}, LocalhostMasks, "http://localhost.:8080/x", false},
        TDecisionCase{"TrailingDotsOnTheHost", {"*"}, LocalhostMasks, "http://localhost../", false},
        TDecisionCase{"MappedIpv6Host", {"*"}, Loopback2Masks, "http://[::ffff:127.0.0.2]/", false},
        TDecisionCase{
            "MappedIpv6HostInHex", {"*"}, Loopback2Masks, "http://[::ffff:7f00:2]:8080/x", false},
        TDecisionCase{"NumericHost", {"*"}, Loopback2Masks, "http://2130706434/", false},
        TDecisionCase{"ShortNumericHost", {"*"}, Loopback2Masks, "http://127.2/x", false},
        TDecisionCase{"EscapedHost", {"*"}, LocalhostMasks, "http://%6Cocalhost/", false},
        TDecisionCase{
            "DefaultPort", {"*"}, {"http://host/secret*"}, "http://host:80/secret", false},
        TDecisionCase{
            "OtherHostsStayOpen", {"*"}, LocalhostMasks, "http://localhost.example/", true},
        TDecisionCase{"MergedSlashes", {"*"}, SecretMasks, "http://host/allowed//secret/", false},
        TDecisionCase{"EscapedSlashAndDotDot",
                      {"*"},
                      SecretMasks,
                      "http://host/allowed%2F..%2Fsecret/",
                      false},
        TDecisionCase{"EscapedLetters", {"*"}, SecretMasks, "http://host/%73ecret/a", false},
        TDecisionCase{
            "AllowStepUsesTheKeyAsWritten", {"http://host/a/*"}, {}, "http://host/a/..%2Fb", true},
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
    EXPECT_EQ(CandidateKey("http://host/#top"), "HTTP://HOST");
    EXPECT_EQ(CandidateKey("http://host/a#x?y"), "HTTP://HOST/A");
    EXPECT_EQ(CandidateKey("http://LocalHost.:80/"), "HTTP://LOCALHOST");
    EXPECT_EQ(CandidateKey("http://u:p@host:8080/a@b?c@d"), "HTTP://HOST:8080/A@B");
    EXPECT_EQ(CandidateKey("mailto:a@b"), "MAILTO:A@B");
}

}  // namespace
}  // namespace plintor
