#include "core/browser/Uri.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

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
    EXPECT_EQ(ComposeURI(*uri), "https://user:pw@host.example:8443/a/b/doc.pdf?x=1&y=2#page=3");
}

struct TTextCase {
    const char* Name;
    const char* Text;
};

const TTextCase RoundTripCases[] = {
    {"HostOnly", "http://host"},
    {"FileUrl", "file:///C:/Temp/temp.pdf"},
    {"Ipv6HostWithPort", "http://[::1]:8080/x"},
    {"UserWithoutPassword", "http://user@host/"},
};

class UriRoundTripTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(UriRoundTripTest, ComposesWhatItSplit) {
    const std::optional<TURI> parsed = ParseURI(GetParam().Text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(ComposeURI(*parsed), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Texts, UriRoundTripTest, ::testing::ValuesIn(RoundTripCases),
                         test::TRowName());

TEST(UriTest, ComposeUsesTheChangedParts) {
    TURI uri = *ParseURI("http://host/a.pdf#old");
    uri.Bookmark = "toolbar=0&navpanes=0";
    EXPECT_EQ(ComposeURI(uri), "http://host/a.pdf#toolbar=0&navpanes=0");
}

const TTextCase UnsplittableCases[] = {
    {"EmptyText", ""},
    {"PortWithALetter", "http://host:80a/"},
    {"UnclosedBracket", "http://[::1/x"},
    {"TextRightAfterTheBracket", "http://[::1]x/"},
};

class UriUnsplittableTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(UriUnsplittableTest, FailsOnTextItCannotSplit) {
    EXPECT_FALSE(ParseURI(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(Texts, UriUnsplittableTest, ::testing::ValuesIn(UnsplittableCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
