#include "core/browser/UrlMask.h"

#include <gtest/gtest.h>

#include <string>

namespace plintor {
namespace {

constexpr MaskMatch Yes = MaskMatch::Match;
constexpr MaskMatch No = MaskMatch::NoMatch;
constexpr MaskMatch Invalid = MaskMatch::Invalid;

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

struct MaskCase {
    const char* name;
    std::string key;
    std::string mask;
    MaskMatch expected;
};

class UrlMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(UrlMaskTest, Decides) {
    EXPECT_EQ(urlMaskMatch(GetParam().key, GetParam().mask), GetParam().expected)
        << GetParam().key << " against " << GetParam().mask;
}

INSTANTIATE_TEST_SUITE_P(
    Language, UrlMaskTest,
    ::testing::Values(
        MaskCase{"ExactOnly", "HTTP://HOST", "HTTP://HOST", Yes},
        MaskCase{"AnchoredAtTheEnd", "HTTP://HOST/X", "HTTP://HOST", No},
        MaskCase{"AnchoredAtTheStart", "XHTTP://HOST", "HTTP://HOST", No},
        MaskCase{"StarMatchesEverything", "HTTP://ANY/THING", "*", Yes},
        MaskCase{"StarMatchesNothingToo", "", "*", Yes}, MaskCase{"EmptyMaskEmptyKey", "", "", Yes},
        MaskCase{"TrailingStarCoversHostPrefixes", "HTTP://HOSTILE.EXAMPLE", "HTTP://HOST*", Yes},
        MaskCase{"QuestionIsOneCharacter", "ABC", "A?C", Yes},
        MaskCase{"QuestionIsNotZero", "AC", "A?C", No},
        MaskCase{"QuestionIsNotTwo", "ABBC", "A?C", No},
        MaskCase{"QuestionAfterStarAddsNothing", "A", "A*?", Yes},
        MaskCase{"OnlyTheFirstQuestionAfterStarIsDropped", "A", "A*??", No},
        MaskCase{"StarRunsActAsOne", "A", "A***", Yes}, MaskCase{"SetMember", "BX", "[ABC]X", Yes},
        MaskCase{"Range", "CX", "[A-C]X", Yes}, MaskCase{"OutsideRange", "DX", "[A-C]X", No},
        MaskCase{"NegatedSet", "DX", "[!A-C]X", Yes},
        MaskCase{"NegatedSetExcludes", "AX", "[!A-C]X", No},
        MaskCase{"ReversedRangeIsEmpty", "B", "[C-A]", No},
        MaskCase{"TrailingDashIsLiteral", "-", "[A-]", Yes},
        MaskCase{"ClosingBracketOutsideASetIsLiteral", "A]", "A]", Yes},
        MaskCase{"SetsHoldOnlyCodesUpTo255", "\xE2\x82\xAC", "[!A]", No},
        MaskCase{"Latin1InNegatedSet", "\xC3\xA9", "[!A]", Yes},
        MaskCase{"Latin1InSet", "\xC3\x89", "[\xC3\x89]", Yes},
        MaskCase{"QuestionTakesAWholeCharacter", "\xC3\x9C", "?", Yes},
        MaskCase{"NonAsciiLiteral", "\xC3\x9CX", "\xC3\x9C?", Yes},
        MaskCase{"AsciiCaseIgnored", "HTTP://HOST", "http://host", Yes},
        MaskCase{"SetCaseIgnored", "B", "[a-c]", Yes},
        MaskCase{"BacktracksToTheLastStar", "XAYAZB", "*A*B", Yes},
        MaskCase{"BacktracksWithinARun", "AAB", "*AB", Yes},
        MaskCase{"LongStarRunsFail", repeat("A", 60), "*A*A*A*A*A*A*A*A*A*A*B", No},
        MaskCase{"UnclosedSet", "A", "[A", Invalid}, MaskCase{"EmptySet", "A", "[]A", Invalid},
        MaskCase{"EmptyNegatedSet", "A", "[!]", Invalid},
        MaskCase{"SetStartsWithDash", "A", "[-A]", Invalid},
        MaskCase{"NegatedSetStartsWithDash", "A", "[!-A]", Invalid},
        MaskCase{"ThirtyStarRuns", repeat("A", 30), repeat("*A", 30), Yes},
        MaskCase{"ThirtyOneStarRuns", repeat("A", 31), repeat("*A", 31), Invalid}),
    [](const auto& info) { return std::string(info.param.name); });

// A bracketed IPv6 address right after "://" names that host; anywhere else "[" opens a set.
INSTANTIATE_TEST_SUITE_P(
    Ipv6Hosts, UrlMaskTest,
    ::testing::Values(
        MaskCase{"LoopbackHost", "HTTP://[::1]/X", "*://[::1]*", Yes},
        MaskCase{"LoopbackHostWithPort", "HTTP://[::1]:8080", "*://[::1]:8080", Yes},
        MaskCase{"OtherIpv6HostNotMatched", "HTTP://[::2]/X", "*://[::1]*", No},
        MaskCase{"OneCharacterOfTheSetNotMatched", "HTTP://1/X", "*://[::1]*", No},
        MaskCase{"HexLettersInEitherCase", "HTTP://[FE80::A]/", "*://[fe80::a]/", Yes},
        MaskCase{"NotAnAddressIsASet", "HTTP://X/", "*://[XY]/", Yes},
        MaskCase{"NotAfterTheSchemeIsASet", "HTTP://H/1", "HTTP://H/[::1]", Yes},
        MaskCase{"UnclosedAddressIsAnUnclosedSet", "HTTP://[::1", "*://[::1", Invalid}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoleCase {
    const char* name;
    std::string key;
    std::string mask;
    MaskMatch asAllow;
    MaskMatch asDeny;
};

class MaskRoleTest : public ::testing::TestWithParam<RoleCase> {};

TEST_P(MaskRoleTest, Decides) {
    EXPECT_EQ(urlMaskMatch(GetParam().key, GetParam().mask, MaskRole::Allow), GetParam().asAllow);
    EXPECT_EQ(urlMaskMatch(GetParam().key, GetParam().mask, MaskRole::Deny), GetParam().asDeny);
}

INSTANTIATE_TEST_SUITE_P(
    SchemeStars, MaskRoleTest,
    ::testing::Values(
        RoleCase{"StarTakesTheScheme", "HTTPS://LIB/OPEN/A", "*://LIB/OPEN/*", Yes, Yes},
        RoleCase{"StarCannotTakeAHost", "HTTP://EVIL/://LIB/OPEN/A", "*://LIB/OPEN/*", No, Yes},
        RoleCase{"StarCannotTakeAColon", "JAVASCRIPT:GO('HTTP://LIB/OPEN/A')", "*://LIB/OPEN/*", No,
                 Yes},
        RoleCase{"PartlyWrittenScheme", "HTTPS://LIB", "HTTP*://LIB", Yes, Yes},
        RoleCase{"NoKeyScheme", "LIB/OPEN", "*://LIB/OPEN", No, No},
        RoleCase{"StarsAfterTheSchemeAreFree", "HTTP://A/B://C", "HTTP://*://C", Yes, Yes},
        RoleCase{"MaskWithoutSchemeIsFree", "HTTP://EVIL/://LIB/X", "*LIB/X", Yes, Yes},
        RoleCase{"SetBeforeTheSchemeIsNoStar", "HTTP://X", "[H]TTP://X", Yes, Yes}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsValidMaskTest, AgreesWithTheMatcher) {
    EXPECT_TRUE(isValidMask("HTTP://*.EXAMPLE/[A-Z]?*"));
    EXPECT_FALSE(isValidMask("HTTP://[A"));
}

}  // namespace
}  // namespace plintor
