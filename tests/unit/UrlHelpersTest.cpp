#include "core/browser/UrlHelpers.h"

#include <gtest/gtest.h>

#include "core/browser/Uri.h"

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

TEST(UriTest, SplitsAndComposesEveryPart) {
    const std::optional<TURI> uri =
        ParseURI("https://user:pw@host.example:8443/a/b/doc.pdf?x=1&y=2#page=3");
    ASSERT_TRUE(uri);
    EXPECT_EQ(uri->Protocol, "https");
    EXPECT_EQ(uri->Username, "user");
    EXPECT_EQ(uri->Password, "pw");
    EXPECT_EQ(uri->Host, "host.example");
    EXPECT_EQ(uri->Port, "8443");
    EXPECT_EQ(uri->Path, "/a/b/");
    EXPECT_EQ(uri->Document, "doc.pdf");
    EXPECT_EQ(uri->Params, "x=1&y=2");
    EXPECT_EQ(uri->Bookmark, "page=3");

    for (const char* text :
         {"https://user:pw@host.example:8443/a/b/doc.pdf?x=1&y=2#page=3", "http://host",
          "file:///C:/Temp/temp.pdf", "http://[::1]:8080/x", "http://user@host/"}) {
        const std::optional<TURI> parsed = ParseURI(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(ComposeURI(*parsed), text);
    }
}

TEST(UriTest, ComposeUsesTheChangedParts) {
    TURI uri = *ParseURI("http://host/a.pdf#old");
    uri.Bookmark = "toolbar=0&navpanes=0";
    EXPECT_EQ(ComposeURI(uri), "http://host/a.pdf#toolbar=0&navpanes=0");
}

TEST(UriTest, FailsOnTextItCannotSplit) {
    for (const char* text : {"", "http://host:80a/", "http://[::1/x", "http://[::1]x/"}) {
        EXPECT_FALSE(ParseURI(text)) << text;
    }
}

}  // namespace
}  // namespace plintor
