#include "core/browser/UrlHelpers.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(UrlHelpersTest, LocalAddresses) {
    EXPECT_TRUE(IsLocalPath("C:\\Temp\\a.pdf"));
    EXPECT_TRUE(IsLocalPath("  d:\\x "));
    EXPECT_FALSE(IsLocalPath("c:/temp/a.pdf"));
    EXPECT_FALSE(IsLocalPath("C:"));
    EXPECT_FALSE(IsLocalPath("1:\\x"));
    EXPECT_TRUE(IsFileURL(" FILE:///C:/x"));
    EXPECT_FALSE(IsFileURL("http://file:x"));
}

TEST(UrlHelpersTest, Strippers) {
    EXPECT_EQ(StripURLQuery("http://h/a#f?q"), "http://h/a#f");
    EXPECT_EQ(StripURLQuery("http://h/a?q#f"), "http://h/a");
    EXPECT_EQ(StripTrailingSlash("http://h//"), "http://h/");
    EXPECT_EQ(StripTrailingSlash(""), "");
    EXPECT_EQ(StripURLScheme("http://h/x://y"), "h/x://y");
    EXPECT_EQ(StripURLScheme("about:blank"), "about:blank");
    EXPECT_EQ(ToForwardSlashes(" C:\\a\\b "), "C:/a/b");
}

struct TTextCase {
    const char* Name;
    const char* Text;
    const char* Expected;
};

const TTextCase FileUrlCases[] = {
    {"DrivePath", "C:\\Temp\\temp.pdf", "file:///C:/Temp/temp.pdf"},
    {"FileUrlStays", "file:///C:/x", "file:///C:/x"},
    {"ServerBecomesTheFirstFolder", "file://server/share", "file:///server/share"},
    {"FileSchemeWithoutSlashesIsAPath", "file:C:\\x", "file:///file:C:/x"},
    {"WebAddressOnlyTrimmed", "  http://host/a.pdf  ", "http://host/a.pdf"},
    {"AbsolutePath", "/tmp/temp.pdf", "file:///tmp/temp.pdf"},
    {"TwoSlashesUntouched", "//server/share", "//server/share"},
};

class ToFileUrlTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(ToFileUrlTest, ToFileURL) {
    EXPECT_EQ(ToFileURL(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ToFileUrlTest, ::testing::ValuesIn(FileUrlCases), test::TRowName());

const TTextCase FileExtCases[] = {
    {"LowerCasedAndQueryIgnored", "http://host/docs/Report.DOCX?x=1", ".docx"},
    {"ScriptNotItsParameter", "http://host/get.php?file=a.doc", ".php"},
    {"Folder", "http://host/docs/", ""},
    {"FragmentIgnored", "http://host/a.pdf#page=2", ".pdf"},
    {"DrivePath", "C:\\Temp\\temp.pdf", ".pdf"},
    {"LastExtensionOnly", "http://host/archive.tar.gz", ".gz"},
    {"NoExtension", "http://host/noextension", ""},
    {"UnparsableAddress", "http://host:port/a.pdf", ""},
    {"EmptyText", "", ""},
};

class FileExtTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(FileExtTest, ExtractURLFileExt) {
    EXPECT_EQ(ExtractURLFileExt(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Addresses, FileExtTest, ::testing::ValuesIn(FileExtCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
