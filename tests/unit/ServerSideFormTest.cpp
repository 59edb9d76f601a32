// The path as a lenient server reads it, so that a deny mask cannot be dodged by its spelling.
#include "core/browser/ServerSideForm.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using TextCase = test::AddressCase<std::optional<std::string>>;

class ServerSideFormTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ServerSideFormTest, Lenient) {
    EXPECT_EQ(serverSideForm(GetParam().address), GetParam().expected) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ServerSideFormTest,
    ::testing::Values(
        TextCase{"AlreadyPlain", "HTTP://HOST/A/B", std::nullopt},
        TextCase{"NoPath", "HTTP://HOST", std::nullopt},
        TextCase{"SlashesMerged", "HTTP://HOST/ALLOWED//SECRET", "HTTP://HOST/ALLOWED/SECRET"},
        TextCase{"EscapedSlashAndDots", "HTTP://HOST/ALLOWED%2F..%2FSECRET", "HTTP://HOST/SECRET"},
        TextCase{"EscapedLetterUpperCased", "HTTP://HOST/%73ECRET", "HTTP://HOST/SECRET"},
        TextCase{"DotSegments", "HTTP://HOST/A/./B/../C", "HTTP://HOST/A/C"},
        TextCase{"DotDotAboveTheRoot", "HTTP://HOST/../../X", "HTTP://HOST/X"},
        TextCase{"TrailingSlashDropped", "HTTP://HOST/A//", "HTTP://HOST/A"},
        TextCase{"ReservedEscapeKept", "HTTP://HOST/A%3FB", std::nullopt},
        TextCase{"HostSlashesNotMerged", "FILE:///TMP//A", "FILE:///TMP/A"},
        TextCase{"NotHierarchical", "JAVASCRIPT:A//B", std::nullopt},
        TextCase{"PathParameterDropped", "HTTP://HOST/PRIVATE;JSESSIONID=1/SECRET",
                 "HTTP://HOST/PRIVATE/SECRET"},
        TextCase{"LastSegmentParameterDropped", "HTTP://HOST/PRIVATE;X", "HTTP://HOST/PRIVATE"},
        TextCase{"ParameterOnEverySegment", "HTTP://HOST/A;1/B;2/C", "HTTP://HOST/A/B/C"},
        TextCase{"ParameterOnDotDot", "HTTP://HOST/PUBLIC/..;/PRIVATE", "HTTP://HOST/PRIVATE"},
        TextCase{"EscapedSemicolonKept", "HTTP://HOST/A%3BB", std::nullopt}),
    test::RowName());

}  // namespace
}  // namespace plintor
