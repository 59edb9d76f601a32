#include "core/browser/Uri.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

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
