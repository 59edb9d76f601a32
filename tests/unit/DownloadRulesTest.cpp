#include "core/documents/DownloadRules.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(DownloadRulesTest, EachSwitchAllowsItsOwnExtensions) {
    EXPECT_EQ(AllowedExtensions(true, true), (std::vector<std::string>{".pdf", ".doc", ".docx"}));
    EXPECT_TRUE(AllowedExtensions(false, false).empty());
    EXPECT_FALSE(IsAcceptedDownload("a.docx", AllowedExtensions(true, false)));
    EXPECT_FALSE(IsAcceptedDownload("a.pdf", AllowedExtensions(false, true)));
}

struct TDownloadCase {
    const char* Name;
    const char* File;
    bool Accepted;
};

const TDownloadCase DownloadCases[] = {
    {"UpperCasePdf", "report.PDF", true},
    {"Docx", "a.docx", true},
    {"Doc", "a.doc", true},
    {"BlanksAroundTheName", " a.pdf ", true},
    {"ShorterThanDoc", "a.do", false},
    {"LongerThanDocx", "a.docm", false},
    {"ShorterThanPdf", "a.pd", false},
    {"Program", "setup.exe", false},
    {"NoExtension", "noextension", false},
    {"EmptyName", "", false},
    {"PdfBeforeTheLastExtension", "a.pdf.exe", false},
};

class DownloadAcceptanceTest : public ::testing::TestWithParam<TDownloadCase> {};

// With every document type allowed, so only the comparison decides.
TEST_P(DownloadAcceptanceTest, AcceptanceComparesWholeExtensions) {
    EXPECT_EQ(IsAcceptedDownload(GetParam().File, AllowedExtensions(true, true)),
              GetParam().Accepted);
}

INSTANTIATE_TEST_SUITE_P(Files, DownloadAcceptanceTest, ::testing::ValuesIn(DownloadCases),
                         test::TRowName());

TEST(DownloadRulesTest, TemporaryFiles) {
    const TTempFiles files = TempFilesIn("/tmp");
    EXPECT_EQ(files.Tmp, "/tmp/temp.tmp");
    EXPECT_EQ(files.Docx, "/tmp/temp.docx");
    EXPECT_EQ(DownloadResultPath(files, "Report.PDF"), "/tmp/temp.pdf");
    EXPECT_EQ(DownloadResultPath(files, "letter.docx"), "/tmp/temp.docx");
}

}  // namespace
}  // namespace plintor
