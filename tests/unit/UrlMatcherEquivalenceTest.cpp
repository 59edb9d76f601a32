// The compiled matcher against the plain walk over the same masks: random masks and keys built
// to reach the corners of the mask language, then the real block lists when they are built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/MatchKey.h"
#include "core/browser/SegmentGlob.h"
#include "core/browser/UrlLists.h"
#include "core/browser/UrlMask.h"
#include "core/browser/UrlMatcher.h"
#include "tests/support/LinearUrlMatcher.h"

namespace plintor {
namespace {

// Printable with its bytes shown, so a failing case can be pasted into a table test.
std::string escaped(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        }
    }
    return out + "\"";
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// Pieces chosen for the rules they touch: case folding, Latin-1 and wider code points in and
// out of sets, bytes that are not UTF-8, and the punctuation of the mask language.
const std::vector<std::string> KeyPieces = words(
    "A B C a b z Z / . : - ! ] [ * ? ` \xC3\x89 \xC3\xA9 \xE2\x82\xAC \xC3 \xFF "
    "\xF0\x9F\x98\x80 AB ABC :// :// WWW. .COM");
const std::vector<std::string> MaskPieces = words(
    "* * ? *? ** [A-C] [!A-C] [a-c] [!b] [AB-] [Z-a] [\xC3\x89] [!\xC3\xA9] "
    "[A-\xE2\x82\xAC] [!\xE2\x82\xAC] [-A] [] [!] [A ] !");

class CaseMaker {
public:
    explicit CaseMaker(unsigned seed) : m_random(seed) {}

    std::string key() { return join(KeyPieces, below(9)); }

    std::string mask() {
        if (below(40) == 0) {
            return longStarRun();
        }
        std::string mask;
        for (int i = below(7); i >= 0; --i) {
            mask += below(2) == 0 ? pick(MaskPieces) : pick(KeyPieces);
        }
        return mask;
    }

    // A key the mask is likely to match: its literals kept, its wildcards filled in.
    std::string keyFor(const std::string& mask) {
        std::string key;
        for (std::size_t i = 0; i < mask.size(); ++i) {
            if (mask[i] == '*') {
                key += join(KeyPieces, below(3));
            } else if (mask[i] == '?' || mask[i] == '[') {
                key += pick(KeyPieces);
                i = mask[i] == '[' ? std::min(mask.find(']', i), mask.size()) : i;
            } else {
                key += below(8) == 0 ? static_cast<char>(std::tolower(mask[i])) : mask[i];
            }
        }
        return below(5) == 0 ? key + pick(KeyPieces) : key;
    }

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

private:
    // 28 to 32 runs of "*", around the limit of 30. Each piece is one run: "**" is one, and
    // "*?" followed by "*" is two although it matches like one.
    std::string longStarRun() {
        static const std::vector<std::string> runs = {"*A", "**A", "*?", "*b"};
        std::string mask;
        for (int i = 28 + below(5); i > 0; --i) {
            mask += pick(runs);
        }
        return mask;
    }

    const std::string& pick(const std::vector<std::string>& pieces) {
        return pieces[static_cast<std::size_t>(below(static_cast<int>(pieces.size())))];
    }

    std::string join(const std::vector<std::string>& pieces, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += pick(pieces);
        }
        return text;
    }

    std::mt19937 m_random;
};

// The linear walk that long masks and keys take, against the reference on the same cases.
TEST(SegmentMaskMatchesTest, AgreesWithUrlMaskMatch) {
    CaseMaker maker(31337);
    int disagreements = 0;
    for (int i = 0; i < 60000; ++i) {
        const std::string mask = maker.mask();
        const std::string key = maker.below(2) == 0 ? maker.keyFor(mask) : maker.key();
        const MaskMatch expected = urlMaskMatch(key, mask);
        if (expected == MaskMatch::Invalid) {
            continue;
        }
        if (segmentMaskMatches(mask, MatchKey(key).codes()) != (expected == MaskMatch::Match) &&
            ++disagreements <= 10) {
            ADD_FAILURE() << "mask " << escaped(mask) << " key " << escaped(key);
        }
    }
    EXPECT_EQ(disagreements, 0);
}

class UrlMatcherRoleTest : public ::testing::TestWithParam<MaskRole> {};

TEST_P(UrlMatcherRoleTest, SingleMasksAgreeWithUrlMaskMatch) {
    CaseMaker maker(20240611);
    int disagreements = 0;
    for (int i = 0; i < 60000; ++i) {
        const std::string mask = maker.mask();
        const std::string key = maker.below(2) == 0 ? maker.keyFor(mask) : maker.key();
        UrlMatcher matcher(GetParam());
        matcher.add(mask);
        const bool expected = urlMaskMatch(key, mask, GetParam()) == MaskMatch::Match;
        if (matcher.anyMatches(key) != expected && ++disagreements <= 10) {
            ADD_FAILURE() << "mask " << escaped(mask) << " key " << escaped(key) << " expected "
                          << expected;
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// Lists share their masks' literal text, so the index holds crowded windows and exact masks
// beside wildcard ones; the entries must come back in the same order with the same duplicates
// dropped.
TEST_P(UrlMatcherRoleTest, ListsAgreeWithTheLinearWalk) {
    CaseMaker maker(7);
    int disagreements = 0;
    for (int list = 0; list < 1500; ++list) {
        UrlMatcher compiled(GetParam());
        LinearUrlMatcher linear(GetParam());
        std::vector<std::string> masks;
        for (int i = maker.below(40); i >= 0; --i) {
            masks.push_back(maker.below(6) == 0 && !masks.empty() ? masks[0] : maker.mask());
            EXPECT_EQ(compiled.add(masks.back()), linear.add(masks.back()));
        }
        ASSERT_EQ(compiled.entries(), linear.entries());
        for (int k = 0; k < 20; ++k) {
            const std::string key =
                k % 2 == 0 ? maker.keyFor(masks[k % masks.size()]) : maker.key();
            if (compiled.anyMatches(key) != linear.anyMatches(key) && ++disagreements <= 10) {
                ADD_FAILURE() << "list " << list << " key " << escaped(key);
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

INSTANTIATE_TEST_SUITE_P(Roles, UrlMatcherRoleTest,
                         ::testing::Values(MaskRole::Deny, MaskRole::Allow), [](const auto& info) {
                             return info.param == MaskRole::Allow ? "Allow" : "Deny";
                         });

std::filesystem::path blockListDir() {
    const char* overridden = std::getenv("PLINTOR_BLOCKLISTS");
    return overridden != nullptr ? overridden : PLINTOR_BLOCKLISTS;
}

// The real masks as the kiosk stores them, or none when the lists have not been built.
std::vector<std::string> realMasks() {
    std::vector<std::string> masks;
    std::ifstream in(blockListDir() / "masks-real.txt");
    for (std::string line; std::getline(in, line);) {
        masks.push_back(normaliseListEntry(line));
    }
    return masks;
}

// An address the mask blocks, one that differs in a character and one on a sub-domain.
std::vector<std::string> addressesNear(const std::string& mask, CaseMaker& maker) {
    std::string address = maker.keyFor(mask);
    std::string sibling = address;
    sibling[sibling.size() / 2] = 'q';
    const std::size_t schemeEnd = address.find("://");
    std::string subDomain =
        schemeEnd == std::string::npos ? address : "https://www." + address.substr(schemeEnd + 3);
    return {address, sibling + "/index.html", subDomain};
}

class UrlMatcherRealListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_masks = realMasks();
        if (m_masks.empty()) {
            GTEST_SKIP() << "no block lists in " << blockListDir()
                         << "; scripts/blocklists/prepare.sh builds them";
        }
    }

    std::vector<std::string> m_masks;
    CaseMaker m_maker{99};
};

TEST_F(UrlMatcherRealListTest, EveryMaskAgreesWithUrlMaskMatch) {
    int disagreements = 0;
    for (const std::string& mask : m_masks) {
        UrlMatcher matcher;
        matcher.add(mask);
        for (const std::string& address : addressesNear(mask, m_maker)) {
            const std::string key = candidateKey(address);
            const bool expected = urlMaskMatch(key, mask) == MaskMatch::Match;
            if (matcher.anyMatches(key) != expected && ++disagreements <= 10) {
                ADD_FAILURE() << mask << " against " << address;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// The whole list at once: the index must find a match among crowded windows. Each key costs
// a walk over every mask, so only a sample of addresses is asked.
TEST_F(UrlMatcherRealListTest, WholeListAgreesWithTheLinearWalk) {
    UrlMatcher compiled;
    LinearUrlMatcher linear;
    for (const std::string& mask : m_masks) {
        EXPECT_EQ(compiled.add(mask), linear.add(mask));
    }
    ASSERT_EQ(compiled.entries(), linear.entries());
    int blocked = 0;
    int asked = 0;
    for (std::size_t i = 0; i < m_masks.size(); i += m_masks.size() / 20 + 1) {
        for (const std::string& address : addressesNear(m_masks[i], m_maker)) {
            const std::string key = candidateKey(address);
            const bool expected = linear.anyMatches(key);
            EXPECT_EQ(compiled.anyMatches(key), expected) << address;
            blocked += expected;
            ++asked;
        }
    }
    EXPECT_GT(blocked, 0);
    EXPECT_LT(blocked, asked) << "the sample must hold addresses the list lets through";
}

}  // namespace
}  // namespace plintor
