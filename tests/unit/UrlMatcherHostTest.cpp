// Host masks as block lists write them, which the matcher keeps in its host table, against the
// plain walk: each form alone or with others, near spellings the table must leave to the
// general index, and keys that name a host more than once.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/browser/UrlMatcher.h"
#include "tests/support/LinearUrlMatcher.h"

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

const Lines Hosts = {"A.COM", "COM", "B.A.COM", "10.0.0.1", "X-Y_Z.NET"};
const Lines Forms = {"*://%", "*://%[/:#]*", "*://*.%", "*://*.%[/:#]*"};
// Close to a host form but meaning something else, or written differently from the table's
// text: they must keep their own meaning and their own place in the list.
const Lines NearMasks = {"*://a.com",           "*://A.COM/*",     "*://*.A.COM[/:]*", "*://A?.COM",
                         "HTTP*://A.COM[/:#]*", "*://*A.COM",      "*://[A].COM",      "*://*.",
                         "*://[/:#]*",          "*://A.COM[#:/]*", "*://\xC3\x89.COM", "*://A.COM*",
                         "*://[::1]*",          "*://[::1][/:#]*", "*://[::1]"};
const Lines KeyPieces = {"HTTP",     "H?TP",      "",       "://",      "://",   ":",   "/",
                         "#",        ".",         "..",     "WWW.",     "A.COM", "COM", "B.A.COM",
                         "10.0.0.1", "X-Y_Z.NET", "A.COMX", "\xC3\x89", "[::1]"};

class HostCaseMaker {
public:
    explicit HostCaseMaker(unsigned seed) : m_random(seed) {}

    std::string mask() {
        if (below(4) == 0) {
            return pick(NearMasks);
        }
        std::string mask = pick(Forms);
        return mask.replace(mask.find('%'), 1, pick(Hosts));
    }

    std::string key() {
        std::string key;
        for (int i = below(8); i >= 0; --i) {
            key += pick(KeyPieces);
        }
        return key;
    }

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

private:
    const std::string& pick(const Lines& lines) {
        return lines[static_cast<std::size_t>(below(static_cast<int>(lines.size())))];
    }

    std::mt19937 m_random;
};

class UrlMatcherHostTest : public ::testing::TestWithParam<MaskRole> {};

TEST_P(UrlMatcherHostTest, HostListsAgreeWithTheLinearWalk) {
    HostCaseMaker maker(4242);
    int disagreements = 0;
    for (int list = 0; list < 2000; ++list) {
        UrlMatcher compiled(GetParam());
        LinearUrlMatcher linear(GetParam());
        for (int i = maker.below(8); i >= 0; --i) {
            const std::string mask = maker.mask();
            EXPECT_EQ(compiled.add(mask), linear.add(mask)) << mask;
        }
        ASSERT_EQ(compiled.entries(), linear.entries());
        ASSERT_EQ(compiled.size(), linear.size());
        for (int k = 0; k < 30; ++k) {
            const std::string key = maker.key();
            if (compiled.anyMatches(key) != linear.anyMatches(key) && ++disagreements <= 10) {
                ADD_FAILURE() << "list " << list << " key " << key;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

INSTANTIATE_TEST_SUITE_P(Roles, UrlMatcherHostTest,
                         ::testing::Values(MaskRole::Deny, MaskRole::Allow), [](const auto& info) {
                             return info.param == MaskRole::Allow ? "Allow" : "Deny";
                         });

// Each form answers alone, exactly as its mask does.
TEST(UrlMatcherHostFormTest, EachFormAnswersOnlyForItself) {
    struct Case {
        const char* key;
        bool bare, bareWithRest, sub, subWithRest;
    };
    const Case cases[] = {
        {"HTTP://A.COM", true, false, false, false},
        {"HTTP://A.COM:8080", false, true, false, false},
        {"HTTP://A.COM/X", false, true, false, false},
        {"HTTP://WWW.A.COM", false, false, true, false},
        {"HTTP://WWW.A.COM#TOP", false, false, false, true},
        {"HTTP://XA.COM/X", false, false, false, false},
        {"HTTP://A.COM.EVIL/X", false, false, false, false},
        {".A.COM/://X", false, false, false, false},  // the "." must follow a "://"
        {"HTTP://EVIL/?U=HTTPS://A.COM", true, false, false, false},
        {"HTTP://EVIL/://X.A.COM/", false, false, false, true},
        {"A.COM", false, false, false, false},
    };
    for (int form = 0; form < 4; ++form) {
        UrlMatcher matcher;
        std::string mask = Forms[static_cast<std::size_t>(form)];
        matcher.add(mask.replace(mask.find('%'), 1, "A.COM"));
        for (const Case& c : cases) {
            const bool expected[] = {c.bare, c.bareWithRest, c.sub, c.subWithRest};
            EXPECT_EQ(matcher.anyMatches(c.key), expected[form]) << mask << " against " << c.key;
        }
    }
}

// A key of many dots offers a candidate host after each; they are all read in one pass.
TEST(UrlMatcherHostFormTest, KeysOfManyDotsAreDecided) {
    std::string dots;
    for (int i = 0; i < 300000; ++i) {
        dots += "A.";
    }
    UrlMatcher matcher;
    matcher.add("*://*.B.COM[/:#]*");
    matcher.add("*://*.A.A");
    EXPECT_FALSE(matcher.anyMatches("HTTP://" + dots + "B"));
    EXPECT_TRUE(matcher.anyMatches("HTTP://" + dots + "A"));
    EXPECT_TRUE(matcher.anyMatches("HTTP://" + dots + "B.COM/"));
}

}  // namespace
}  // namespace plintor
