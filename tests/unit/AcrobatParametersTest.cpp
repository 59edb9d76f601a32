#include "core/documents/AcrobatParameters.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using AddressCase = test::AddressCase<std::string>;

const AddressCase AddressCases[] = {
    {"PlainPdf", "http://server/a.pdf", "http://server/a.pdf#toolbar=0&navpanes=0"},
    {"ViewerItemIsOverruled", "http://server/a.pdf#page=3&toolbar=1",
     "http://server/a.pdf#page=3&toolbar=0&navpanes=0"},
    {"ItemKeepsItsSpelling", "http://server/a.pdf#NavPanes=1",
     "http://server/a.pdf#NavPanes=0&toolbar=0"},
    {"UpperCaseExtensionWithQuery", "http://server/A.PDF?id=7",
     "http://server/A.PDF?id=7#toolbar=0&navpanes=0"},
    {"PdfNamedInTheQueryOnly", "http://server/view?file=a.pdf", "http://server/view?file=a.pdf"},
    {"PlusIsABlank", "http://server/a.pdf#q=a+b",
     "http://server/a.pdf#q=a%20b&toolbar=0&navpanes=0"},
    {"EscapedBlankStays", "http://server/a.pdf#q=a%20b",
     "http://server/a.pdf#q=a%20b&toolbar=0&navpanes=0"},
    {"ItemWithoutEqualsSign", "http://server/a.pdf#nameddest",
     "http://server/a.pdf#=&toolbar=0&navpanes=0"},
    {"EscapedUtf8Stays", "http://server/a.pdf#q=%C3%A9%7B",
     "http://server/a.pdf#q=%C3%A9%7B&toolbar=0&navpanes=0"},
    {"BlanksTrimmedSlashAndColonKept", "  http://server/a.pdf#x=1/2:3  ",
     "http://server/a.pdf#x=1/2:3&toolbar=0&navpanes=0"},
    {"DrivePathUntouched", "C:\\Temp\\temp.pdf", "C:\\Temp\\temp.pdf"},
    {"FileUrl", "file:///tmp/temp.pdf", "file:///tmp/temp.pdf#toolbar=0&navpanes=0"},
    {"UnparsableAddressUntouched", "http://host:port/a.pdf", "http://host:port/a.pdf"},
};

class AcrobatAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AcrobatAddressTest, ViewerItemsAreForcedIntoPdfAddresses) {
    EXPECT_EQ(addAcrobatParameters(GetParam().address), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Addresses, AcrobatAddressTest, ::testing::ValuesIn(AddressCases),
                         test::RowName());

TEST(AcrobatParametersTest, TranslationLogsOnlyWhenTheFirstCharacterChanges) {
    UrlTranslation local = translateUrl("C:\\Temp\\temp.pdf", true);
    EXPECT_EQ(local.address, "file:///C:/Temp/temp.pdf#toolbar=0&navpanes=0");
    EXPECT_EQ(local.logLines,
              (std::vector<std::string>{
                  "Acrobat - translate URL in: C:\\Temp\\temp.pdf",
                  "Acrobat - translate URL out: file:///C:/Temp/temp.pdf#toolbar=0&navpanes=0"}));
    EXPECT_EQ(translateUrl("C:\\Temp\\a.txt", true).address, "file:///C:/Temp/a.txt");

    UrlTranslation web = translateUrl("http://server/a.pdf", true);
    EXPECT_EQ(web.address, "http://server/a.pdf#toolbar=0&navpanes=0");
    EXPECT_TRUE(web.logLines.empty());

    EXPECT_EQ(translateUrl("http://server/a.pdf", false).address, "http://server/a.pdf");
}

}  // namespace
}  // namespace plintor
