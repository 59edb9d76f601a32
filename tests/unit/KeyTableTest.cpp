#include "core/lockdown/KeyTable.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct KeyCase {
    const char* name;
    std::uint32_t key;
    bool alt, control, swallowed;
};

const KeyCase KeyCases[] = {
    {"ControlEscape", VK_ESCAPE, false, true, true},
    {"PlainEscape", VK_ESCAPE, false, false, false},
    {"AltEscape", VK_ESCAPE, true, false, true},
    {"AltTab", VK_TAB, true, false, true},
    {"PlainTab", VK_TAB, false, false, false},
    {"AltEnter", VK_RETURN, true, false, true},
    {"ControlEnter", VK_RETURN, false, true, false},
    {"LeftWindows", VK_LWIN, false, false, true},
    {"RightWindowsWithAlt", VK_RWIN, true, true, true},
    {"Code5E", VK_RESERVED_5E, false, false, true},
    {"Sleep", VK_SLEEP, false, false, true},
    {"ApplicationsKey", VK_APPS, false, false, false},
    {"F1", VK_F1, false, false, true},
    {"F3", 0x72, false, false, true},
    {"F4", VK_F4, false, false, true},
    {"AltF4", VK_F4, true, false, true},
    {"ControlF4", VK_F4, false, true, false},
    {"F5", VK_F5, false, false, false},
    {"F6", 0x75, false, false, true},
    {"F11", 0x7A, false, false, true},
    {"F12", VK_F12, false, false, true},
    {"F13", 0x7C, false, false, false},
    {"ControlP", 'P', false, true, true},
    {"ControlA", 'A', false, true, true},
    {"ControlB", 'B', false, true, false},
    {"PlainP", 'P', false, false, false},
    {"AltP", 'P', true, false, false},
    {"ControlLeft", VK_LEFT, false, true, true},
    {"PlainLeft", VK_LEFT, false, false, false},
};

class KeySwallowTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeySwallowTest, SwallowsTheSystemCombinationsOnly) {
    EXPECT_EQ(swallowKey(GetParam().key, GetParam().alt, GetParam().control), GetParam().swallowed);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeySwallowTest, ::testing::ValuesIn(KeyCases), test::RowName());

TEST(KeyTableTest, EveryClaimedKeyIsSwallowedInSomeCombination) {
    for (const std::uint32_t key : LockdownKeys) {
        bool someCombination = false;
        for (int combination = 0; combination < 4; ++combination) {
            someCombination |= swallowKey(key, combination & 1, combination & 2);
        }
        EXPECT_TRUE(someCombination) << "key " << key << " is claimed but never swallowed";
    }
}

}  // namespace
}  // namespace plintor
