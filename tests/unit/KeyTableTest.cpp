#include "core/lockdown/KeyTable.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct KeyCase {
    const char* name;
    VirtualKey key;
    bool alt, control, swallowed;
};

const KeyCase KeyCases[] = {
    {"ControlEscape", VirtualKey::Escape, false, true, true},
    {"PlainEscape", VirtualKey::Escape, false, false, false},
    {"AltEscape", VirtualKey::Escape, true, false, true},
    {"AltTab", VirtualKey::Tab, true, false, true},
    {"PlainTab", VirtualKey::Tab, false, false, false},
    {"AltEnter", VirtualKey::Return, true, false, true},
    {"ControlEnter", VirtualKey::Return, false, true, false},
    {"LeftWindows", VirtualKey::LeftWindows, false, false, true},
    {"RightWindowsWithAlt", VirtualKey::RightWindows, true, true, true},
    {"Code5E", VirtualKey::Reserved5E, false, false, true},
    {"Sleep", VirtualKey::Sleep, false, false, true},
    {"ApplicationsKey", VirtualKey::Applications, false, false, false},
    {"F1", VirtualKey::F1, false, false, true},
    {"F3", VirtualKey::F3, false, false, true},
    {"F4", VirtualKey::F4, false, false, true},
    {"AltF4", VirtualKey::F4, true, false, true},
    {"ControlF4", VirtualKey::F4, false, true, false},
    {"F5", VirtualKey::F5, false, false, false},
    {"F6", VirtualKey::F6, false, false, true},
    {"F11", VirtualKey::F11, false, false, true},
    {"F12", VirtualKey::F12, false, false, true},
    {"F13", virtualKeyOf(0x7C), false, false, false},
    {"ControlP", characterKey('P'), false, true, true},
    {"ControlA", characterKey('A'), false, true, true},
    {"ControlB", characterKey('B'), false, true, false},
    {"PlainP", characterKey('P'), false, false, false},
    {"AltP", characterKey('P'), true, false, false},
    {"ControlLeft", VirtualKey::Left, false, true, true},
    {"PlainLeft", VirtualKey::Left, false, false, false},
    {"UnknownKeyWithEverything", VirtualKey::Unknown, true, true, false},
};

class KeySwallowTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeySwallowTest, SwallowsTheSystemCombinationsOnly) {
    EXPECT_EQ(swallowKey(GetParam().key, GetParam().alt, GetParam().control), GetParam().swallowed);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeySwallowTest, ::testing::ValuesIn(KeyCases), test::RowName());

TEST(KeyTableTest, EveryClaimedKeyIsSwallowedInSomeCombination) {
    for (const VirtualKey key : LockdownKeys) {
        bool someCombination = false;
        for (int combination = 0; combination < 4; ++combination) {
            someCombination |= swallowKey(key, combination & 1, combination & 2);
        }
        EXPECT_TRUE(someCombination)
            << "key " << virtualKeyNumber(key) << " is claimed but never swallowed";
    }
}

}  // namespace
}  // namespace plintor
