#include "core/documents/DownloadRules.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(DownloadRulesTest, AcceptanceComparesWholeExtensions) {
    const std::vector<std::string> all = AllowedExtensions(true, true);
    EXPECT_EQ(all, (std::vector<std::string>{".pdf", ".doc", ".docx"}));
    EXPECT_TRUE(AllowedExtensions(false, false).empty());
    const struct {
        const char* Name;
        bool Accepted;
    } cases[] = {
        {"report.PDF", true},   {"a.docx", true},  {"a.doc", true},      {" a.pdf ", true},
        {"a.do", false},        {"a.docm", false}, {"a.pd", false},      {"setup.exe", false},
        {"noextension", false}, {"", false},       {"a.pdf.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAcceptedDownload(c.Name, all), c.Accepted) << c.Name;
    }
    EXPECT_FALSE(IsAcceptedDownload("a.docx", AllowedExtensions(true, false)));
    EXPECT_FALSE(IsAcceptedDownload("a.pdf", AllowedExtensions(false, true)));
}

TEST(DownloadRulesTest, TemporaryFiles) {
    const TTempFiles files = TempFilesIn("/tmp");
    EXPECT_EQ(files.Tmp, "/tmp/temp.tmp");
    EXPECT_EQ(files.Docx, "/tmp/temp.docx");
    EXPECT_EQ(DownloadResultPath(files, "Report.PDF"), "/tmp/temp.pdf");
    EXPECT_EQ(DownloadResultPath(files, "letter.docx"), "/tmp/temp.docx");
}

}  // namespace
}  // namespace plintor
