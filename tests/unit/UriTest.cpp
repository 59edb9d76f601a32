#include "core/browser/Uri.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

TEST(UriTest, SplitsAndComposesEveryPart) {
    const std::optional<Uri> uri =
        parseUri("https://user:pw@host.example:8443/a/b/doc.pdf?x=1&y=2#page=3");
    ASSERT_TRUE(uri);
    EXPECT_EQ(uri->protocol, "https");
    EXPECT_EQ(uri->username, "user");
    EXPECT_EQ(uri->password, "pw");
    EXPECT_EQ(uri->host, "host.example");
    EXPECT_EQ(uri->port, "8443");
    EXPECT_EQ(uri->path, "/a/b/");
    EXPECT_EQ(uri->document, "doc.pdf");
    EXPECT_EQ(uri->params, "x=1&y=2");
    EXPECT_EQ(uri->bookmark, "page=3");
    EXPECT_EQ(composeUri(*uri), "https://user:pw@host.example:8443/a/b/doc.pdf?x=1&y=2#page=3");
}

struct TextCase {
    const char* name;
    const char* text;
};

const TextCase RoundTripCases[] = {
    {"HostOnly", "http://host"},
    {"FileUrl", "file:///C:/Temp/temp.pdf"},
    {"Ipv6HostWithPort", "http://[::1]:8080/x"},
    {"UserWithoutPassword", "http://user@host/"},
};

class UriRoundTripTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(UriRoundTripTest, ComposesWhatItSplit) {
    const std::optional<Uri> parsed = parseUri(GetParam().text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(composeUri(*parsed), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, UriRoundTripTest, ::testing::ValuesIn(RoundTripCases),
                         test::RowName());

TEST(UriTest, ComposeUsesTheChangedParts) {
    Uri uri = *parseUri("http://host/a.pdf#old");
    uri.bookmark = "toolbar=0&navpanes=0";
    EXPECT_EQ(composeUri(uri), "http://host/a.pdf#toolbar=0&navpanes=0");
}

const TextCase UnsplittableCases[] = {
    {"EmptyText", ""},
    {"PortWithALetter", "http://host:80a/"},
    {"UnclosedBracket", "http://[::1/x"},
    {"TextRightAfterTheBracket", "http://[::1]x/"},
};

class UriUnsplittableTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(UriUnsplittableTest, FailsOnTextItCannotSplit) {
    EXPECT_FALSE(parseUri(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, UriUnsplittableTest, ::testing::ValuesIn(UnsplittableCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
