#include "platform/linux/posix/ProcessTree.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct StatCase {
    const char* name;
    std::string stat;
    long parent;
};

const StatCase StatCases[] = {
    {"Plain", "4711 (plintor) S 1200 4711 4711 0 -1 4194560 1843", 1200},
    {"NameWithBlanksAndParentheses", "88 (Web (Content) 2) R 4711 88 4711 0 -1", 4711},
    {"NameEndingInParenthesisAndDigits", "9 (x) 7) S 3 9 9", 3},
    {"CutShort", "4711 (plintor) S", 0},
    {"NoName", "4711 plintor S 1200", 0},
    {"Empty", "", 0},
};

class ParentInStatTest : public ::testing::TestWithParam<StatCase> {};

TEST_P(ParentInStatTest, ReadsTheFieldAfterTheName) {
    EXPECT_EQ(parentProcessIdInStat(GetParam().stat), GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(Lines, ParentInStatTest, ::testing::ValuesIn(StatCases), test::RowName());

TEST(ProcessTreeTest, PssLineOfTheRollup) {
    const std::string rollup =
        "55d0c4a2e000-7ffd5c1f4000 ---p 00000000 00:00 0                          [rollup]\n"
        "Rss:              207316 kB\n"
        "Pss:              121858 kB\n"
        "Pss_Anon:          62744 kB\n";
    EXPECT_EQ(pssKiBInSmapsRollup(rollup), 121858);
    EXPECT_EQ(pssKiBInSmapsRollup("Rss: 5 kB\nPss_Anon: 3 kB\n"), -1);
    EXPECT_EQ(pssKiBInSmapsRollup(""), -1) << "a zombie's rollup is empty";
}

}  // namespace
}  // namespace plintor
