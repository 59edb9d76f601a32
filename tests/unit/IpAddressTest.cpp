// The spellings of a numeric host that name the same machine.
#include "core/browser/IpAddress.h"

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

class Ipv4Test : public ::testing::TestWithParam<TTextCase> {};

TEST_P(Ipv4Test, Canonical) {
    EXPECT_EQ(CanonicalIpv4(GetParam().Input), GetParam().Expected) << GetParam().Input;
}

INSTANTIATE_TEST_SUITE_P(Forms, Ipv4Test,
                         ::testing::Values(TTextCase{"Dotted", "127.0.0.2", "127.0.0.2"},
                                           TTextCase{"OneNumber", "2130706434", "127.0.0.2"},
                                           TTextCase{"TwoParts", "127.2", "127.0.0.2"},
                                           TTextCase{"ThreeParts", "127.0.2", "127.0.0.2"},
                                           TTextCase{"Hexadecimal", "0x7f.0.0.0x2", "127.0.0.2"},
                                           TTextCase{"Octal", "0177.0.0.02", "127.0.0.2"},
                                           TTextCase{"OneTrailingDot", "127.0.0.2.", "127.0.0.2"},
                                           TTextCase{"PartTooLarge", "256.0.0.1", std::nullopt},
                                           TTextCase{"NumberTooLarge", "4294967296", std::nullopt},
                                           TTextCase{"FiveParts", "1.2.3.4.5", std::nullopt},
                                           TTextCase{"BadOctal", "09.0.0.1", std::nullopt},
                                           TTextCase{"Name", "localhost", std::nullopt},
                                           TTextCase{"NameEndingInLetters", "1.2.example",
                                                     std::nullopt},
                                           TTextCase{"EmptyPart", "127..0.1", std::nullopt}),
                         test::TRowName());

class Ipv6Test : public ::testing::TestWithParam<TTextCase> {};

TEST_P(Ipv6Test, Canonical) {
    EXPECT_EQ(CanonicalIpv6(GetParam().Input), GetParam().Expected) << GetParam().Input;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Ipv6Test,
    ::testing::Values(TTextCase{"MappedDotted", "::ffff:127.0.0.2", "127.0.0.2"},
                      TTextCase{"MappedHex", "::FFFF:7f00:2", "127.0.0.2"},
                      TTextCase{"MappedLongForm", "0:0:0:0:0:ffff:7f00:0002", "127.0.0.2"},
                      TTextCase{"Loopback", "0:0:0:0:0:0:0:1", "[::1]"},
                      TTextCase{"LeadingZerosDropped", "2001:0db8:0000:0000:0000:0000:0000:0001",
                                "[2001:db8::1]"},
                      TTextCase{"LongestZeroRunCompressed", "1:0:0:2:0:0:0:3", "[1:0:0:2::3]"},
                      TTextCase{"SingleZeroNotCompressed", "1:0:2:3:4:5:6:7", "[1:0:2:3:4:5:6:7]"},
                      TTextCase{"AllZero", "::", "[::]"},
                      TTextCase{"TwoGaps", "1::2::3", std::nullopt},
                      TTextCase{"TooManyGroups", "1:2:3:4:5:6:7:8:9", std::nullopt},
                      TTextCase{"GroupTooLong", "12345::1", std::nullopt},
                      TTextCase{"NotHex", "::g", std::nullopt}),
    test::TRowName());

}  // namespace
}  // namespace plintor
