#include "core/browser/NavigationPolicy.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TUrlLists DemoLists() {
    TUrlLists lists;
    lists.WhitelistAddURL("http://library.example/*");
    lists.BlacklistAddURL("*/private/*");
    lists.SetOwnDocuments({"/tmp/k/temp.pdf"});
    return lists;
}

struct TVerdictCase {
    const char* Name;
    const char* Url;
    bool TopLevel, ConvertWord, FetchPdf;
    bool Cancel, Hint, Divert;
    const char* Log;
};

const TVerdictCase VerdictCases[] = {
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

class NavigationVerdictTest : public ::testing::TestWithParam<TVerdictCase> {};

TEST_P(NavigationVerdictTest, Verdicts) {
    const TVerdictCase& c = GetParam();
    const TUrlLists lists = DemoLists();
    const TNavigationVerdict verdict =
        JudgeNavigation(lists, c.Url, c.TopLevel, {c.ConvertWord, c.FetchPdf});
    EXPECT_EQ(verdict.Cancel, c.Cancel);
    EXPECT_EQ(verdict.ShowBlockedHint, c.Hint);
    EXPECT_EQ(verdict.DivertToDownload, c.Divert);
    EXPECT_EQ(verdict.LogText, c.Log);
}

INSTANTIATE_TEST_SUITE_P(Addresses, NavigationVerdictTest, ::testing::ValuesIn(VerdictCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
