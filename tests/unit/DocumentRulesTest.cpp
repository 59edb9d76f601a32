#include <gtest/gtest.h>

#include "core/documents/AcrobatParameters.h"
#include "core/documents/DownloadRules.h"
#include "core/documents/OfficeConversion.h"

namespace plintor {
namespace {

TEST(AcrobatParametersTest, ViewerItemsAreForcedIntoPdfAddresses) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://server/a.pdf", "http://server/a.pdf#toolbar=0&navpanes=0"},
        {"http://server/a.pdf#page=3&toolbar=1", "http://server/a.pdf#page=3&toolbar=0&navpanes=0"},
        {"http://server/a.pdf#NavPanes=1", "http://server/a.pdf#NavPanes=0&toolbar=0"},
        {"http://server/A.PDF?id=7", "http://server/A.PDF?id=7#toolbar=0&navpanes=0"},
        {"http://server/view?file=a.pdf", "http://server/view?file=a.pdf"},
        {"http://server/a.pdf#q=a+b", "http://server/a.pdf#q=a%20b&toolbar=0&navpanes=0"},
        {"http://server/a.pdf#q=a%20b", "http://server/a.pdf#q=a%20b&toolbar=0&navpanes=0"},
        {"http://server/a.pdf#nameddest", "http://server/a.pdf#=&toolbar=0&navpanes=0"},
        {"http://server/a.pdf#q=%C3%A9%7B", "http://server/a.pdf#q=%C3%A9%7B&toolbar=0&navpanes=0"},
        {"  http://server/a.pdf#x=1/2:3  ", "http://server/a.pdf#x=1/2:3&toolbar=0&navpanes=0"},
        {"C:\\Temp\\temp.pdf", "C:\\Temp\\temp.pdf"},
        {"file:///tmp/temp.pdf", "file:///tmp/temp.pdf#toolbar=0&navpanes=0"},
        {"http://host:port/a.pdf", "http://host:port/a.pdf"},
    };
    for (const auto& [address, expected] : cases) {
        EXPECT_EQ(AddAcrobatParameters(address), expected) << address;
    }
}

TEST(AcrobatParametersTest, TranslationLogsOnlyWhenTheFirstCharacterChanges) {
    TUrlTranslation local = TranslateUrl("C:\\Temp\\temp.pdf", true);
    EXPECT_EQ(local.Address, "file:///C:/Temp/temp.pdf#toolbar=0&navpanes=0");
    EXPECT_EQ(local.LogLines,
              (std::vector<std::string>{
                  "Acrobat - translate URL in: C:\\Temp\\temp.pdf",
                  "Acrobat - translate URL out: file:///C:/Temp/temp.pdf#toolbar=0&navpanes=0"}));
    EXPECT_EQ(TranslateUrl("C:\\Temp\\a.txt", true).Address, "file:///C:/Temp/a.txt");

    TUrlTranslation web = TranslateUrl("http://server/a.pdf", true);
    EXPECT_EQ(web.Address, "http://server/a.pdf#toolbar=0&navpanes=0");
    EXPECT_TRUE(web.LogLines.empty());

    EXPECT_EQ(TranslateUrl("http://server/a.pdf", false).Address, "http://server/a.pdf");
}

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

TEST(OfficeConversionTest, ParametersQuoteFolderAndDocument) {
    EXPECT_EQ(ConverterParameters("/tmp/", "/tmp/temp.docx"),
              "--headless --convert-to pdf --outdir \"/tmp\" \"/tmp/temp.docx\"");
    EXPECT_EQ(
        ConverterParameters("/var/tmp/kiosk", "/var/tmp/kiosk/temp.doc"),
        "--headless --convert-to pdf --outdir \"/var/tmp/kiosk\" \"/var/tmp/kiosk/temp.doc\"");
}

}  // namespace
}  // namespace plintor
