#include "core/browser/UrlLists.h"

#include <gtest/gtest.h>

#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

struct DecisionCase {
    const char* name;
    Lines allow;
    Lines deny;
    std::string url;
    bool allowed;
};

// Deny masks for one host as the README shows them.
Lines hostMasks(const std::string& host) {
    return {"*://" + host, "*://" + host + "[/:#]*", "*://*." + host, "*://*." + host + "[/:#]*"};
}
const Lines LocalhostMasks = hostMasks("localhost");
const Lines Loopback2Masks = hostMasks("127.0.0.2");
const Lines SecretMasks = {"http://host/secret", "http://host/secret/*",
                           "http://host/allowed/secret", "http://host/allowed/secret/*"};

class IsUrlAllowedTest : public ::testing::TestWithParam<DecisionCase> {};

// The kiosk's own temporary documents in these tests.
const Lines OwnDocuments = {"/tmp/kiosk/temp.pdf", "/tmp/my dir/temp.docx", "C:\\Temp\\temp.pdf"};

TEST_P(IsUrlAllowedTest, Decides) {
    UrlLists lists;
    lists.setOwnDocuments(OwnDocuments);
    for (const std::string& mask : GetParam().allow) {
        lists.whitelistAddUrl(mask);
    }
    for (const std::string& mask : GetParam().deny) {
        lists.blacklistAddUrl(mask);
    }
    EXPECT_EQ(lists.isUrlAllowed(GetParam().url), GetParam().allowed) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, IsUrlAllowedTest,
    ::testing::Values(
        DecisionCase{"EmptyListsBlockTheWeb", {}, {}, "http://host/", false},
        DecisionCase{"EmptyListsBlockADrivePath", {}, {}, "C:\\Temp\\a.pdf", false},
        DecisionCase{"EmptyListsBlockAFileUrl", {}, {}, "file:///C:/Temp/a.pdf", false},
        DecisionCase{"OwnDocumentPasses", {}, {}, "file:///tmp/kiosk/temp.pdf", true},
        DecisionCase{"OwnDocumentWithViewerFragment",
                     {},
                     {},
                     "file:///tmp/kiosk/temp.pdf#toolbar=0&navpanes=0",
                     true},
        DecisionCase{"OwnDocumentAsDrivePath", {}, {}, "C:\\Temp\\temp.pdf", true},
        DecisionCase{"OwnDocumentAsFileUrlOfADrive", {}, {}, "file:///C:/Temp/temp.pdf", true},
        DecisionCase{"OwnDocumentWithEscapes", {}, {}, "file:///tmp/my%20dir/temp.docx", true},
        DecisionCase{"OtherFileOfTheTempFolder", {}, {}, "file:///tmp/kiosk/temp.tmp", false},
        DecisionCase{"SystemFileNeedsAMask", {"http://host/*"}, {}, "file:///etc/hosts", false},
        DecisionCase{"FolderNeedsAMask", {"http://host/*"}, {}, "file:///usr/share/", false},
        DecisionCase{
            "LocalFileAllowedByAMask", {"file:///srv/docs/*"}, {}, "file:///srv/docs/a.pdf", true},
        DecisionCase{"DenyStillBlocksAnOwnDocument",
                     {},
                     {"file:///tmp/*"},
                     "file:///tmp/kiosk/temp.pdf",
                     false},
        DecisionCase{"QueryIsNotMatched", {"HTTP://HOST*"}, {}, "http://host/x?y=1", true},
        DecisionCase{"SchemeIsPartOfTheKey", {"HTTP://HOST*"}, {}, "https://host/x", false},
        DecisionCase{"DenyWinsOverAllow", {"*"}, {"*.EXE"}, "http://host/setup.exe", false},
        DecisionCase{"DenyIgnoresTheQuery", {"*"}, {"*.EXE"}, "http://host/setup.exe?v=2", false},
        DecisionCase{"AllowAllLetsThrough", {"*"}, {"*.EXE"}, "http://host/", true},
        DecisionCase{"EntrySlashIsDropped", {"http://host/"}, {}, "http://host", true},
        DecisionCase{"KeySlashIsDropped", {"http://host/"}, {}, "http://host/", true},
        DecisionCase{"KeyQueryIsDropped", {"http://host/"}, {}, "http://host/?q=1", true},
        DecisionCase{"OnlyOneSlashIsDropped", {"http://host/"}, {}, "http://host//", false},
        DecisionCase{"FragmentIsNotMatched", {"http://host/"}, {}, "http://host/#top", true},
        DecisionCase{"FragmentCannotCarryAnAllowedAddress",
                     {"*://library.example/open/*"},
                     {},
                     "http://evil.example/x#://library.example/open/y",
                     false},
        DecisionCase{"PathCannotCarryAnAllowedAddress",
                     {"*://library.example/open/*"},
                     {},
                     "http://evil.example/://library.example/open/y",
                     false},
        DecisionCase{"ScriptCannotCarryAnAllowedAddress",
                     {"*://library.example/open/*"},
                     {},
                     "javascript:go('http://library.example/open/y')",
                     false},
        DecisionCase{"SchemeStarMatchesSchemes",
                     {"*://library.example/open/*"},
                     {},
                     "https://library.example/open/a",
                     true},
        DecisionCase{"DenyMaskKeepsTheWholeLanguage",
                     {"*"},
                     {"*://library.example/open/*"},
                     "http://evil.example/://library.example/open/y",
                     false},
        DecisionCase{
            "TrailingDotOnTheHost", {"*"}, LocalhostMasks, "http://localhost.:8080/x", false},
        DecisionCase{"TrailingDotsOnTheHost", {"*"}, LocalhostMasks, "http://localhost../", false},
        DecisionCase{"MappedIpv6Host", {"*"}, Loopback2Masks, "http://[::ffff:127.0.0.2]/", false},
        DecisionCase{
            "MappedIpv6HostInHex", {"*"}, Loopback2Masks, "http://[::ffff:7f00:2]:8080/x", false},
        DecisionCase{"NumericHost", {"*"}, Loopback2Masks, "http://2130706434/", false},
        DecisionCase{"ShortNumericHost", {"*"}, Loopback2Masks, "http://127.2/x", false},
        DecisionCase{"EscapedHost", {"*"}, LocalhostMasks, "http://%6Cocalhost/", false},
        DecisionCase{"DefaultPort", {"*"}, {"http://host/secret*"}, "http://host:80/secret", false},
        DecisionCase{
            "OtherHostsStayOpen", {"*"}, LocalhostMasks, "http://localhost.example/", true},
        DecisionCase{"MergedSlashes", {"*"}, SecretMasks, "http://host/allowed//secret/", false},
        DecisionCase{"EscapedSlashAndDotDot",
                     {"*"},
                     SecretMasks,
                     "http://host/allowed%2F..%2Fsecret/",
                     false},
        DecisionCase{"EscapedLetters", {"*"}, SecretMasks, "http://host/%73ecret/a", false},
        DecisionCase{
            "AllowStepUsesTheKeyAsWritten", {"http://host/a/*"}, {}, "http://host/a/..%2Fb", true},
        DecisionCase{"DenyMaskBlocksLocalPaths", {}, {"C:\\*"}, "C:\\Temp\\a.pdf", false},
        DecisionCase{"ForwardSlashIsNotADrivePath", {}, {}, "c:/temp/a.pdf", false},
        DecisionCase{"AboutBlankNeedsAMask", {"http://host*"}, {}, "about:blank", false},
        DecisionCase{"AboutBlankWithItsMask", {"about:blank"}, {}, "about:blank", true},
        DecisionCase{"InvalidAllowMaskIsSkipped", {"[A", "*"}, {}, "http://host/", true},
        DecisionCase{"InvalidAllowMaskAloneBlocks", {"[A"}, {}, "http://host/", false},
        DecisionCase{
            "InvalidLastDenyMaskDoesNotBlock", {"*"}, {"*.EXE", "[A"}, "http://host/", true},
        DecisionCase{"InvalidDenyMaskDoesNotHideALaterMatch",
                     {"*"},
                     {"[A", "*.EXE"},
                     "http://h/a.exe",
                     false},
        DecisionCase{"UserInfoIsNotTheHost",
                     {"http://allowed.example*"},
                     {},
                     "http://allowed.example@evil.example/",
                     false},
        DecisionCase{"UserAndPasswordAreNotTheHost",
                     {"http://allowed.example*"},
                     {},
                     "http://allowed.example:pw@evil.example/page",
                     false},
        DecisionCase{"UserInfoOnAnAllowedHost",
                     {"http://allowed.example/*"},
                     {},
                     "http://visitor@allowed.example/page",
                     true},
        DecisionCase{"AtInThePathIsNotUserInfo",
                     {"http://allowed.example/*"},
                     {},
                     "http://allowed.example/mail@home",
                     true},
        DecisionCase{"NonAsciiIsUpperCased",
                     {"http://b\xC3\xBC"
                      "cher.de/*"},
                     {},
                     "http://B\xC3\x9C"
                     "CHER.de/x",
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

const Lines PunycodeMasks = {"*://xn--bcher-kva.de", "*://xn--bcher-kva.de[/:#]*"};
const Lines UnicodeMasks = hostMasks("t\xC3\xA4st2.xyz");

// One host, one decision: whichever alphabet the mask and the address use, and whatever form
// the engine reads out of the address.
INSTANTIATE_TEST_SUITE_P(
    OneHost, IsUrlAllowedTest,
    ::testing::Values(
        DecisionCase{"PunycodeMaskUnicodeAddress",
                     {"*"},
                     PunycodeMasks,
                     "http://b\xC3\xBC"
                     "cher.de/a",
                     false},
        DecisionCase{"PunycodeMaskPunycodeAddress",
                     {"*"},
                     PunycodeMasks,
                     "http://xn--bcher-kva.de/a",
                     false},
        DecisionCase{"PunycodeMaskBareUnicodeHost",
                     {"*"},
                     PunycodeMasks,
                     "http://B\xC3\x9C"
                     "CHER.DE",
                     false},
        DecisionCase{
            "UnicodeMaskPunycodeAddress", {"*"}, UnicodeMasks, "https://xn--tst2-loa.xyz/", false},
        DecisionCase{"UnicodeMaskUnicodeAddress",
                     {"*"},
                     UnicodeMasks,
                     "https://www.T\xC3\x84ST2.xyz:8443/x",
                     false},
        DecisionCase{"UnicodeMaskBesideAWildcardLabel",
                     {"*"},
                     {"*://*.b\xC3\xBC"
                      "cher.de/*"},
                     "http://www.xn--bcher-kva.de/a",
                     false},
        DecisionCase{"UnicodeAllowMask",
                     {"http://b\xC3\xBC"
                      "cher.de/*"},
                     {},
                     "http://xn--bcher-kva.de/a",
                     true},
        DecisionCase{"OtherHostStaysOpen", {"*"}, PunycodeMasks, "http://bucher.de/", true},
        DecisionCase{"IdeographicFullStops",
                     {"*"},
                     Loopback2Masks,
                     "http://127\xE3\x80\x82"
                     "0\xE3\x80\x82"
                     "0\xE3\x80\x82"
                     "2/",
                     false},
        DecisionCase{"FullWidthDigits",
                     {"*"},
                     Loopback2Masks,
                     "http://\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x97.0.0.2/",
                     false},
        DecisionCase{
            "BackslashesAfterTheScheme", {"*"}, Loopback2Masks, "http:\\\\127.0.0.2/", false},
        DecisionCase{"NoSlashesAfterTheScheme", {"*"}, Loopback2Masks, "http:127.0.0.2/", false},
        DecisionCase{"Ipv6LoopbackMask", {"*"}, {"*://[::1]*"}, "http://[::1]/x", false},
        DecisionCase{"Ipv6MaskInLongForm", {"*"}, {"*://[0:0:0::1]/*"}, "http://[::1]/x", false},
        DecisionCase{"Ipv6MaskLeavesOtherHosts", {"*"}, {"*://[::1]*"}, "http://1/x", true},
        DecisionCase{"JavaPathParameter",
                     {"*"},
                     {"http://host/private/*", "http://host/private"},
                     "http://host/private;jsessionid=1/secret",
                     false},
        DecisionCase{"JavaPathParameterOnTheFolder",
                     {"*"},
                     {"http://host/private/*", "http://host/private"},
                     "http://host/private;jsessionid=1",
                     false},
        DecisionCase{"SemicolonInAnAllowedPath",
                     {"*"},
                     {"http://host/private/*"},
                     "http://host/public;a=1/b",
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

using EntryCase = test::AddressCase<std::string>;  // expected: the entry as it is stored

class ListEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ListEntryTest, HostAsKeysWriteIt) {
    EXPECT_EQ(normaliseListEntry(GetParam().address), GetParam().expected) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, ListEntryTest,
    ::testing::Values(
        EntryCase{"UnicodeHost",
                  "*://B\xC3\xBC"
                  "cher.de",
                  "*://XN--BCHER-KVA.DE"},
        EntryCase{"UnicodeHostBeforeHostEndSet",
                  "*://b\xC3\xBC"
                  "cher.de[/:#]*",
                  "*://XN--BCHER-KVA.DE[/:#]*"},
        EntryCase{"UnicodeLabelBesideWildcardLabel",
                  "*://*.b\xC3\xBC"
                  "cher.de/*",
                  "*://*.XN--BCHER-KVA.DE/*"},
        EntryCase{"UnicodeLabelBeforeStar", "http://t\xC3\xA4st2.xyz*", "HTTP://XN--TST2-LOA.XYZ*"},
        EntryCase{"UnicodeLabelWithWildcardStays", "*://b\xC3\xBC*", "*://B\xC3\x9C*"},
        EntryCase{"PathKeepsItsUnicode",
                  "http://b\xC3\xBC"
                  "cher.de/b\xC3\xBC"
                  "cher",
                  "HTTP://XN--BCHER-KVA.DE/B\xC3\x9C"
                  "CHER"},
        EntryCase{"PortKept",
                  "http://b\xC3\xBC"
                  "cher.de:8080/",
                  "HTTP://XN--BCHER-KVA.DE:8080"},
        EntryCase{"Ipv6Shortened", "*://[0:0:0::1]*", "*://[::1]*"},
        EntryCase{"MappedIpv6AsIpv4", "*://[::ffff:127.0.0.2]/x", "*://127.0.0.2/X"},
        EntryCase{"NoHostUnchanged",
                  "*b\xC3\xBC"
                  "cher*",
                  "*B\xC3\x9C"
                  "CHER*"},
        EntryCase{"AsciiUnchanged", "*://*.example.org[/:#]*", "*://*.EXAMPLE.ORG[/:#]*"}),
    test::RowName());

// A deny list that is there but cannot be read: nothing but the kiosk's own pages, whatever
// the masks; an empty list is another thing.
TEST(UrlListsTest, UnreadableDenyListDeniesAllButTheKiosksOwnPages) {
    UrlLists lists;
    lists.whitelistAllowAll();
    lists.blacklistAddUrl("*.EXE");
    EXPECT_TRUE(lists.isUrlAllowed("http://host/"));
    lists.blacklistUnreadable();
    EXPECT_EQ(lists.denyListState(), DenyListState::Unreadable);
    for (const char* url : {"http://host/", "https://host/a", "javascript:alert(1)",
                            "file:///tmp/a.pdf", "data:text/html,x", ""}) {
        EXPECT_FALSE(lists.isUrlAllowed(url)) << url;
        EXPECT_TRUE(lists.isUrlDenied(url)) << url;
    }
    for (const char* url : {"about:blank", "about:srcdoc", "ABOUT:BLANK"}) {
        EXPECT_TRUE(lists.isUrlAllowed(url)) << url;
    }
    lists.whitelistClear();
    EXPECT_EQ(lists.denyListState(), DenyListState::Read);
    EXPECT_FALSE(lists.isUrlDenied("http://host/"));
}

TEST(UrlListsTest, AddersNormaliseAndIgnoreEmptyAndDuplicateEntries) {
    UrlLists lists;
    lists.whitelistAddUrl("http://Host");
    lists.whitelistAddUrl("HTTP://host/");
    lists.whitelistAddUrl("");
    lists.whitelistAddUrl("/");
    lists.whitelistAddUrl(" http://spaced/?q#f ");
    EXPECT_EQ(lists.whitelist(), (Lines{"HTTP://HOST", " HTTP://SPACED/?Q#F "}));
    lists.blacklistAddUrl("http://host/");
    EXPECT_EQ(lists.blacklist(), Lines{"HTTP://HOST"});
}

TEST(UrlListsTest, AllowAllKeepsTheDenyListAndClearEmptiesBoth) {
    UrlLists lists;
    for (const char* url : {"a", "b", "c", "d", "e"}) {
        lists.whitelistAddUrl(url);
    }
    lists.blacklistAddUrl("*.EXE");
    lists.whitelistAllowAll();
    EXPECT_EQ(lists.whitelist(), Lines{"*"});
    EXPECT_FALSE(lists.isUrlAllowed("http://host/a.exe"));
    lists.whitelistAddUrl("f");
    EXPECT_EQ(lists.whitelist(), (Lines{"*", "F"}));
    lists.whitelistClear();
    EXPECT_TRUE(lists.whitelist().empty());
    EXPECT_TRUE(lists.blacklist().empty());
}

TEST(CandidateKeyTest, Normalises) {
    EXPECT_EQ(candidateKey("http://host/"), "HTTP://HOST");
    EXPECT_EQ(candidateKey("http://host/?page=2"), "HTTP://HOST");
    EXPECT_EQ(candidateKey("http://host/#top"), "HTTP://HOST");
    EXPECT_EQ(candidateKey("http://host/a#x?y"), "HTTP://HOST/A");
    EXPECT_EQ(candidateKey("http://LocalHost.:80/"), "HTTP://LOCALHOST");
    EXPECT_EQ(candidateKey("http://u:p@host:8080/a@b?c@d"), "HTTP://HOST:8080/A@B");
    EXPECT_EQ(candidateKey("mailto:a@b"), "MAILTO:A@B");
}

}  // namespace
}  // namespace plintor
