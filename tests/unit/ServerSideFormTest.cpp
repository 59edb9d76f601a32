// The path as a lenient server reads it, so that a deny mask cannot be dodged by its spelling.
#include "core/browser/ServerSideForm.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct TTextCase {
    const char* Name;
    std::string Input;
    std::optional<std::string> Expected;
};

class ServerSideFormTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(ServerSideFormTest, Lenient) {
    EXPECT_EQ(ServerSideForm(GetParam().Input), GetParam().Expected) << GetParam().Input;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ServerSideFormTest,
    ::testing::Values(
        TTextCase{"AlreadyPlain", "HTTP://HOST/A/B", std::nullopt},
        TTextCase{"NoPath", "HTTP://HOST", std::nullopt},
        TTextCase{"SlashesMerged", "HTTP://HOST/ALLOWED//SECRET", "HTTP://HOST/ALLOWED/SECRET"},
        TTextCase{"EscapedSlashAndDots", "HTTP://HOST/ALLOWED%2F..%2FSECRET", "HTTP://HOST/SECRET"},
        TTextCase{"EscapedLetterUpperCased", "HTTP://HOST/%73ECRET", "HTTP://HOST/SECRET"},
        TTextCase{"DotSegments", "HTTP://HOST/A/./B/../C", "HTTP://HOST/A/C"},
        TTextCase{"DotDotAboveTheRoot", "HTTP://HOST/../../X", "HTTP://HOST/X"},
        TTextCase{"TrailingSlashDropped", "HTTP://HOST/A//", "HTTP://HOST/A"},
        TTextCase{"ReservedEscapeKept", "HTTP://HOST/A%3FB", std::nullopt},
        TTextCase{"HostSlashesNotMerged", "FILE:///TMP//A", "FILE:///TMP/A"},
        TTextCase{"NotHierarchical", "JAVASCRIPT:A//B", std::nullopt}),
    test::TRowName());

}  // namespace
}  // namespace plintor
