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

#include "core/browser/LinearUrlMatcher.h"
#include "core/browser/MatchKey.h"
#include "core/browser/SegmentGlob.h"
#include "core/browser/UrlLists.h"
#include "core/browser/UrlMask.h"
#include "core/browser/UrlMatcher.h"

namespace plintor {
namespace {

// Printable with its bytes shown, so a failing case can be pasted into a table test.
std::string Escaped(const std::string& text) {
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

std::vector<std::string> Words(std::string_view text) {
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
const std::vector<std::string> KeyPieces = Words(
    "A B C a b z Z / . : - ! ] [ * ? ` \xC3\x89 \xC3\xA9 \xE2\x82\xAC \xC3 \xFF "
    "\xF0\x9F\x98\x80 AB ABC :// :// WWW. .COM");
const std::vector<std::string> MaskPieces = Words(
    "* * ? *? ** [A-C] [!A-C] [a-c] [!b] [AB-] [Z-a] [\xC3\x89] [!\xC3\xA9] "
    "[A-\xE2\x82\xAC] [!\xE2\x82\xAC] [-A] [] [!] [A ] !");

class TCaseMaker {
public:
    explicit TCaseMaker(unsigned seed) : FRandom(seed) {}

    std::string Key() { return Join(KeyPieces, Below(9)); }

    std::string Mask() {
        if (Below(40) == 0) {
            return LongStarRun();
        }
        std::string mask;
        for (int i = Below(7); i >= 0; --i) {
            mask += Below(2) == 0 ? Pick(MaskPieces) : Pick(KeyPieces);
        }
        return mask;
    }

    // A key the mask is likely to match: its literals kept, its wildcards filled in.
    std::string KeyFor(const std::string& mask) {
        std::string key;
        for (std::size_t i = 0; i < mask.size(); ++i) {
            if (mask[i] == '*') {
                key += Join(KeyPieces, Below(3));
            } else if (mask[i] == '?' || mask[i] == '[') {
                key += Pick(KeyPieces);
                i = mask[i] == '[' ? std::min(mask.find(']', i), mask.size()) : i;
            } else {
                key += Below(8) == 0 ? static_cast<char>(std::tolower(mask[i])) : mask[i];
            }
        }
        return Below(5) == 0 ? key + Pick(KeyPieces) : key;
    }

    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(FRandom); }

private:
    // 28 to 32 runs of "*", around the limit of 30. Each piece is one run: "**" is one, and
    // "*?" followed by "*" is two although it matches like one.
    std::string LongStarRun() {
        static const std::vector<std::string> runs = {"*A", "**A", "*?", "*b"};
        std::string mask;
        for (int i = 28 + Below(5); i > 0; --i) {
            mask += Pick(runs);
        }
        return mask;
    }

    const std::string& Pick(const std::vector<std::string>& pieces) {
        return pieces[static_cast<std::size_t>(Below(static_cast<int>(pieces.size())))];
    }

    std::string Join(const std::vector<std::string>& pieces, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += Pick(pieces);
        }
        return text;
    }

    std::mt19937 FRandom;
};

// The linear walk that long masks and keys take, against the reference on the same cases.
TEST(SegmentMaskMatchesTest, AgreesWithUrlMaskMatch) {
    TCaseMaker maker(31337);
    int disagreements = 0;
    for (int i = 0; i < 60000; ++i) {
        const std::string mask = maker.Mask();
        const std::string key = maker.Below(2) == 0 ? maker.KeyFor(mask) : maker.Key();
        const TMaskMatch expected = UrlMaskMatch(key, mask);
        if (expected == TMaskMatch::Invalid) {
            continue;
        }
        if (SegmentMaskMatches(mask, TMatchKey(key).Codes()) != (expected == TMaskMatch::Match) &&
            ++disagreements <= 10) {
            ADD_FAILURE() << "mask " << Escaped(mask) << " key " << Escaped(key);
        }
    }
    EXPECT_EQ(disagreements, 0);
}

class UrlMatcherRoleTest : public ::testing::TestWithParam<TMaskRole> {};

TEST_P(UrlMatcherRoleTest, SingleMasksAgreeWithUrlMaskMatch) {
    TCaseMaker maker(20240611);
    int disagreements = 0;
    for (int i = 0; i < 60000; ++i) {
        const std::string mask = maker.Mask();
        const std::string key = maker.Below(2) == 0 ? maker.KeyFor(mask) : maker.Key();
        TUrlMatcher matcher(GetParam());
        matcher.Add(mask);
        const bool expected = UrlMaskMatch(key, mask, GetParam()) == TMaskMatch::Match;
        if (matcher.AnyMatches(key) != expected && ++disagreements <= 10) {
            ADD_FAILURE() << "mask " << Escaped(mask) << " key " << Escaped(key) << " expected "
                          << expected;
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// Lists share their masks' literal text, so the index holds crowded windows and exact masks
// beside wildcard ones; the entries must come back in the same order with the same duplicates
// dropped.
TEST_P(UrlMatcherRoleTest, ListsAgreeWithTheLinearWalk) {
    TCaseMaker maker(7);
    int disagreements = 0;
    for (int list = 0; list < 1500; ++list) {
        TUrlMatcher compiled(GetParam());
        TLinearUrlMatcher linear(GetParam());
        std::vector<std::string> masks;
        for (int i = maker.Below(40); i >= 0; --i) {
            masks.push_back(maker.Below(6) == 0 && !masks.empty() ? masks[0] : maker.Mask());
            EXPECT_EQ(compiled.Add(masks.back()), linear.Add(masks.back()));
        }
        ASSERT_EQ(compiled.Entries(), linear.Entries());
        for (int k = 0; k < 20; ++k) {
            const std::string key =
                k % 2 == 0 ? maker.KeyFor(masks[k % masks.size()]) : maker.Key();
            if (compiled.AnyMatches(key) != linear.AnyMatches(key) && ++disagreements <= 10) {
                ADD_FAILURE() << "list " << list << " key " << Escaped(key);
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

INSTANTIATE_TEST_SUITE_P(Roles, UrlMatcherRoleTest,
                         ::testing::Values(TMaskRole::Deny, TMaskRole::Allow),
                         [](const auto& info) {
                             return info.param == TMaskRole::Allow ? "Allow" : "Deny";
                         });

std::filesystem::path BlockListDir() {
    const char* overridden = std::getenv("PLINTOR_BLOCKLISTS");
    return overridden != nullptr ? overridden : PLINTOR_BLOCKLISTS;
}

// The real masks as the kiosk stores them, or none when the lists have not been built.
std::vector<std::string> RealMasks() {
    std::vector<std::string> masks;
    std::ifstream in(BlockListDir() / "masks-real.txt");
    for (std::string line; std::getline(in, line);) {
        masks.push_back(NormaliseListEntry(line));
    }
    return masks;
}

// An address the mask blocks, one that differs in a character and one on a sub-domain.
std::vector<std::string> AddressesNear(const std::string& mask, TCaseMaker& maker) {
    std::string address = maker.KeyFor(mask);
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
        Masks = RealMasks();
        if (Masks.empty()) {
            GTEST_SKIP() << "no block lists in " << BlockListDir()
                         << "; scripts/blocklists/prepare.sh builds them";
        }
    }

    std::vector<std::string> Masks;
    TCaseMaker Maker{99};
};

TEST_F(UrlMatcherRealListTest, EveryMaskAgreesWithUrlMaskMatch) {
    int disagreements = 0;
    for (const std::string& mask : Masks) {
        TUrlMatcher matcher;
        matcher.Add(mask);
        for (const std::string& address : AddressesNear(mask, Maker)) {
            const std::string key = CandidateKey(address);
            const bool expected = UrlMaskMatch(key, mask) == TMaskMatch::Match;
            if (matcher.AnyMatches(key) != expected && ++disagreements <= 10) {
                ADD_FAILURE() << mask << " against " << address;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// The whole list at once: the index must find a match among crowded windows. Each key costs
// a walk over every mask, so only a sample of addresses is asked.
TEST_F(UrlMatcherRealListTest, WholeListAgreesWithTheLinearWalk) {
    TUrlMatcher compiled;
    TLinearUrlMatcher linear;
    for (const std::string& mask : Masks) {
        EXPECT_EQ(compiled.Add(mask), linear.Add(mask));
    }
    ASSERT_EQ(compiled.Entries(), linear.Entries());
    int blocked = 0;
    int asked = 0;
    for (std::size_t i = 0; i < Masks.size(); i += Masks.size() / 20 + 1) {
        for (const std::string& address : AddressesNear(Masks[i], Maker)) {
            const std::string key = CandidateKey(address);
            const bool expected = linear.AnyMatches(key);
            EXPECT_EQ(compiled.AnyMatches(key), expected) << address;
            blocked += expected;
            ++asked;
        }
    }
    EXPECT_GT(blocked, 0);
    EXPECT_LT(blocked, asked) << "the sample must hold addresses the list lets through";
}

}  // namespace
}  // namespace plintor
