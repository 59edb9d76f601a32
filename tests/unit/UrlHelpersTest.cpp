#include "core/browser/UrlHelpers.h"

#include <gtest/gtest.h>

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

TEST(UrlHelpersTest, ToFileURL) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Temp\\temp.pdf", "file:///C:/Temp/temp.pdf"},
        {"file:///C:/x", "file:///C:/x"},
        {"file://server/share", "file:///server/share"},
        {"file:C:\\x", "file:///file:C:/x"},
        {"  http://host/a.pdf  ", "http://host/a.pdf"},
        {"/tmp/temp.pdf", "file:///tmp/temp.pdf"},
        {"//server/share", "//server/share"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ToFileURL(text), expected) << text;
    }
}

TEST(UrlHelpersTest, ExtractURLFileExt) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://host/docs/Report.DOCX?x=1", ".docx"},
        {"http://host/get.php?file=a.doc", ".php"},
        {"http://host/docs/", ""},
        {"http://host/a.pdf#page=2", ".pdf"},
        {"C:\\Temp\\temp.pdf", ".pdf"},
        {"http://host/archive.tar.gz", ".gz"},
        {"http://host/noextension", ""},
        {"http://host:port/a.pdf", ""},  // cannot be parsed
        {"", ""},
    };
    for (const auto& [url, expected] : cases) {
        EXPECT_EQ(ExtractURLFileExt(url), expected) << url;
    }
}

}  // namespace
}  // namespace plintor
