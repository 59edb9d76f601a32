#include "core/browser/UrlMask.h"

#include <gtest/gtest.h>

#include <string>

namespace plintor {
namespace {

constexpr TMaskMatch Yes = TMaskMatch::Match;
constexpr TMaskMatch No = TMaskMatch::NoMatch;
constexpr TMaskMatch Invalid = TMaskMatch::Invalid;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

struct TMaskCase {
    const char* Name;
    std::string Key;
    std::string Mask;
    TMaskMatch Expected;
};

class UrlMaskTest : public ::testing::TestWithParam<TMaskCase> {};

TEST_P(UrlMaskTest, Decides) {
    EXPECT_EQ(UrlMaskMatch(GetParam().Key, GetParam().Mask), GetParam().Expected)
        << GetParam().Key << " against " << GetParam().Mask;
}

INSTANTIATE_TEST_SUITE_P(
    Language, UrlMaskTest,
    ::testing::Values(
        TMaskCase{"ExactOnly", "HTTP://HOST", "HTTP://HOST", Yes},
        TMaskCase{"AnchoredAtTheEnd", "HTTP://HOST/X", "HTTP://HOST", No},
        TMaskCase{"AnchoredAtTheStart", "XHTTP://HOST", "HTTP://HOST", No},
        TMaskCase{"StarMatchesEverything", "HTTP://ANY/THING", "*", Yes},
        TMaskCase{"StarMatchesNothingToo", "", "*", Yes},
        TMaskCase{"EmptyMaskEmptyKey", "", "", Yes},
        TMaskCase{"TrailingStarCoversHostPrefixes", "HTTP://HOSTILE.EXAMPLE", "HTTP://HOST*", Yes},
        TMaskCase{"QuestionIsOneCharacter", "ABC", "A?C", Yes},
        TMaskCase{"QuestionIsNotZero", "AC", "A?C", No},
        TMaskCase{"QuestionIsNotTwo", "ABBC", "A?C", No},
        TMaskCase{"QuestionAfterStarAddsNothing", "A", "A*?", Yes},
        TMaskCase{"OnlyTheFirstQuestionAfterStarIsDropped", "A", "A*??", No},
        TMaskCase{"StarRunsActAsOne", "A", "A***", Yes},
        TMaskCase{"SetMember", "BX", "[ABC]X", Yes}, TMaskCase{"Range", "CX", "[A-C]X", Yes},
        TMaskCase{"OutsideRange", "DX", "[A-C]X", No},
        TMaskCase{"NegatedSet", "DX", "[!A-C]X", Yes},
        TMaskCase{"NegatedSetExcludes", "AX", "[!A-C]X", No},
        TMaskCase{"ReversedRangeIsEmpty", "B", "[C-A]", No},
        TMaskCase{"TrailingDashIsLiteral", "-", "[A-]", Yes},
        TMaskCase{"ClosingBracketOutsideASetIsLiteral", "A]", "A]", Yes},
        TMaskCase{"SetsHoldOnlyCodesUpTo255", "\xE2\x82\xAC", "[!A]", No},
        TMaskCase{"Latin1InNegatedSet", "\xC3\xA9", "[!A]", Yes},
        TMaskCase{"Latin1InSet", "\xC3\x89", "[\xC3\x89]", Yes},
        TMaskCase{"QuestionTakesAWholeCharacter", "\xC3\x9C", "?", Yes},
        TMaskCase{"NonAsciiLiteral", "\xC3\x9CX", "\xC3\x9C?", Yes},
        TMaskCase{"AsciiCaseIgnored", "HTTP://HOST", "http://host", Yes},
        TMaskCase{"SetCaseIgnored", "B", "[a-c]", Yes},
        TMaskCase{"BacktracksToTheLastStar", "XAYAZB", "*A*B", Yes},
        TMaskCase{"BacktracksWithinARun", "AAB", "*AB", Yes},
        TMaskCase{"LongStarRunsFail", Repeat("A", 60), "*A*A*A*A*A*A*A*A*A*A*B", No},
        TMaskCase{"UnclosedSet", "A", "[A", Invalid}, TMaskCase{"EmptySet", "A", "[]A", Invalid},
        TMaskCase{"EmptyNegatedSet", "A", "[!]", Invalid},
        TMaskCase{"SetStartsWithDash", "A", "[-A]", Invalid},
        TMaskCase{"NegatedSetStartsWithDash", "A", "[!-A]", Invalid},
        TMaskCase{"ThirtyStarRuns", Repeat("A", 30), Repeat("*A", 30), Yes},
        TMaskCase{"ThirtyOneStarRuns", Repeat("A", 31), Repeat("*A", 31), Invalid}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TRoleCase {
    const char* Name;
    std::string Key;
    std::string Mask;
    TMaskMatch AsAllow;
    TMaskMatch AsDeny;
};

class MaskRoleTest : public ::testing::TestWithParam<TRoleCase> {};

TEST_P(MaskRoleTest, Decides) {
    EXPECT_EQ(UrlMaskMatch(GetParam().Key, GetParam().Mask, TMaskRole::Allow), GetParam().AsAllow);
    EXPECT_EQ(UrlMaskMatch(GetParam().Key, GetParam().Mask, TMaskRole::Deny), GetParam().AsDeny);
}

INSTANTIATE_TEST_SUITE_P(
    SchemeStars, MaskRoleTest,
    ::testing::Values(
        TRoleCase{"StarTakesTheScheme", "HTTPS://LIB/OPEN/A", "*://LIB/OPEN/*", Yes, Yes},
        TRoleCase{"StarCannotTakeAHost", "HTTP://EVIL/://LIB/OPEN/A", "*://LIB/OPEN/*", No, Yes},
        TRoleCase{"StarCannotTakeAColon", "JAVASCRIPT:GO('HTTP://LIB/OPEN/A')", "*://LIB/OPEN/*",
                  No, Yes},
        TRoleCase{"PartlyWrittenScheme", "HTTPS://LIB", "HTTP*://LIB", Yes, Yes},
        TRoleCase{"NoKeyScheme", "LIB/OPEN", "*://LIB/OPEN", No, No},
        TRoleCase{"StarsAfterTheSchemeAreFree", "HTTP://A/B://C", "HTTP://*://C", Yes, Yes},
        TRoleCase{"MaskWithoutSchemeIsFree", "HTTP://EVIL/://LIB/X", "*LIB/X", Yes, Yes},
        TRoleCase{"SetBeforeTheSchemeIsNoStar", "HTTP://X", "[H]TTP://X", Yes, Yes}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IsValidMaskTest, AgreesWithTheMatcher) {
    EXPECT_TRUE(IsValidMask("HTTP://*.EXAMPLE/[A-Z]?*"));
    EXPECT_FALSE(IsValidMask("HTTP://[A"));
}

}  // namespace
}  // namespace plintor
