#include "core/browser/NavigationPolicy.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

UrlLists demoLists() {
    UrlLists lists;
    lists.whitelistAddUrl("http://library.example/*");
    lists.blacklistAddUrl("*/private/*");
    lists.setOwnDocuments({"/tmp/k/temp.pdf"});
    return lists;
}

struct VerdictCase {
    const char* name;
    const char* url;
    bool topLevel, convertWord, fetchPdf;
    bool cancel, hint, divert;
    const char* log;
};

const VerdictCase VerdictCases[] = {
    {"Allowed", "http://library.example/a", true, false, false, false, false, false,
     "BeforeNavigate: http://library.example/a (True)"},
    {"BlockedPage", "http://other.example/", true, false, false, true, true, false,
     "BeforeNavigate: http://other.example/ (False)"},
    {"BlockedFrameIsSilent", "http://library.example/private/x", false, false, false, true, false,
     false, "BeforeNavigate: http://library.example/private/x (False)"},
    {"WordDiverted", "http://library.example/Report.DOCX", true, true, false, true, false, true,
     "BeforeNavigate: http://library.example/Report.DOCX (True)"},
    {"WordWithoutConversion", "http://library.example/a.doc", true, false, false, false, false,
     false, "BeforeNavigate: http://library.example/a.doc (True)"},
    {"ScriptNamingAWordFile", "http://library.example/get.php?f=a.doc", true, true, false, false,
     false, false, "BeforeNavigate: http://library.example/get.php?f=a.doc (True)"},
    {"BlockedWordIsNotDiverted", "http://other.example/a.doc", true, true, false, true, true, false,
     "BeforeNavigate: http://other.example/a.doc (False)"},
    {"PdfFetched", "http://library.example/a.PDF#page=2", true, false, true, true, false, true,
     "BeforeNavigate: http://library.example/a.PDF#page=2 (True)"},
    {"PdfInAFrameIsShownThere", "http://library.example/a.pdf", false, false, true, false, false,
     false, "BeforeNavigate: http://library.example/a.pdf (True)"},
    {"OwnPdfIsShown", "file:///tmp/k/temp.pdf#toolbar=0", true, false, true, false, false, false,
     "BeforeNavigate: file:///tmp/k/temp.pdf#toolbar=0 (True)"},
    {"PdfAsItIs", "http://library.example/a.pdf", true, false, false, false, false, false,
     "BeforeNavigate: http://library.example/a.pdf (True)"},
};

class NavigationVerdictTest : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(NavigationVerdictTest, Verdicts) {
    const VerdictCase& c = GetParam();
    const UrlLists lists = demoLists();
    const NavigationVerdict verdict =
        judgeNavigation(lists, c.url, c.topLevel, {c.convertWord, c.fetchPdf});
    EXPECT_EQ(verdict.cancel, c.cancel);
    EXPECT_EQ(verdict.showBlockedHint, c.hint);
    EXPECT_EQ(verdict.divertToDownload, c.divert);
    EXPECT_EQ(verdict.logText, c.log);
}

INSTANTIATE_TEST_SUITE_P(Addresses, NavigationVerdictTest, ::testing::ValuesIn(VerdictCases),
                         test::RowName());

struct TopLevelCase {
    const char* name;
    NavigationFacts facts;
    bool topLevel;
};

using Kind = NavigationFacts::Kind;
const TopLevelCase TopLevelCases[] = {
    {"KioskOpenedIt", {Kind::Other, false, false, true, false}, true},
    {"VisitorClickedALink", {Kind::LinkClicked, true, false, false, false}, true},
    {"VisitorSubmittedAForm", {Kind::FormSubmitted, true, false, false, false}, true},
    {"ScriptClickWithoutGesture", {Kind::LinkClicked, false, false, false, false}, false},
    {"FrameSourceLoads", {Kind::Other, false, false, false, false}, false},
    {"FrameSourceLoadsWhileThePageLoads", {Kind::Other, false, false, false, true}, false},
    {"HistoryStep", {Kind::BackForward, false, false, false, false}, true},
    {"Reload", {Kind::Reload, false, false, false, false}, true},
    {"RedirectOfTheTopLevelLoad", {Kind::Other, false, true, false, true}, true},
    {"RedirectWithNothingUnderway", {Kind::LinkClicked, true, true, false, false}, false},
};

class TopLevelTest : public ::testing::TestWithParam<TopLevelCase> {};

TEST_P(TopLevelTest, TakenForTheTopLevel) {
    EXPECT_EQ(isTopLevelNavigation(GetParam().facts), GetParam().topLevel);
}

INSTANTIATE_TEST_SUITE_P(Facts, TopLevelTest, ::testing::ValuesIn(TopLevelCases), test::RowName());

}  // namespace
}  // namespace plintor
