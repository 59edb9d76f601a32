#include "core/documents/DownloadRules.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(DownloadRulesTest, EachSwitchAllowsItsOwnExtensions) {
    EXPECT_EQ(allowedExtensions(true, true), (std::vector<std::string>{".pdf", ".doc", ".docx"}));
    EXPECT_TRUE(allowedExtensions(false, false).empty());
    EXPECT_FALSE(isAcceptedDownload("a.docx", allowedExtensions(true, false)));
    EXPECT_FALSE(isAcceptedDownload("a.pdf", allowedExtensions(false, true)));
}

struct DownloadCase {
    const char* name;
    const char* file;
    bool accepted;
};

const DownloadCase DownloadCases[] = {
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

class DownloadAcceptanceTest : public ::testing::TestWithParam<DownloadCase> {};

// With every document type allowed, so only the comparison decides.
TEST_P(DownloadAcceptanceTest, AcceptanceComparesWholeExtensions) {
    EXPECT_EQ(isAcceptedDownload(GetParam().file, allowedExtensions(true, true)),
              GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Files, DownloadAcceptanceTest, ::testing::ValuesIn(DownloadCases),
                         test::RowName());

TEST(DownloadRulesTest, TemporaryFiles) {
    const TempFiles files = tempFilesIn("/tmp");
    EXPECT_EQ(files.tmp, "/tmp/temp.tmp");
    EXPECT_EQ(files.docx, "/tmp/temp.docx");
    EXPECT_EQ(downloadResultPath(files, "Report.PDF"), "/tmp/temp.pdf");
    EXPECT_EQ(downloadResultPath(files, "letter.docx"), "/tmp/temp.docx");
}

}  // namespace
}  // namespace plintor
