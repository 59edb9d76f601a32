// The spellings of a numeric host that name the same machine.
#include "core/browser/IpAddress.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using TextCase = test::AddressCase<std::optional<std::string>>;

class Ipv4Test : public ::testing::TestWithParam<TextCase> {};

TEST_P(Ipv4Test, Canonical) {
    EXPECT_EQ(canonicalIpv4(GetParam().address), GetParam().expected) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(Forms, Ipv4Test,
                         ::testing::Values(TextCase{"Dotted", "127.0.0.2", "127.0.0.2"},
                                           TextCase{"OneNumber", "2130706434", "127.0.0.2"},
                                           TextCase{"TwoParts", "127.2", "127.0.0.2"},
                                           TextCase{"ThreeParts", "127.0.2", "127.0.0.2"},
                                           TextCase{"Hexadecimal", "0x7f.0.0.0x2", "127.0.0.2"},
                                           TextCase{"Octal", "0177.0.0.02", "127.0.0.2"},
                                           TextCase{"OneTrailingDot", "127.0.0.2.", "127.0.0.2"},
                                           TextCase{"PartTooLarge", "256.0.0.1", std::nullopt},
                                           TextCase{"NumberTooLarge", "4294967296", std::nullopt},
                                           TextCase{"FiveParts", "1.2.3.4.5", std::nullopt},
                                           TextCase{"BadOctal", "09.0.0.1", std::nullopt},
                                           TextCase{"Name", "localhost", std::nullopt},
                                           TextCase{"NameEndingInLetters", "1.2.example",
                                                    std::nullopt},
                                           TextCase{"EmptyPart", "127..0.1", std::nullopt}),
                         test::RowName());

class Ipv6Test : public ::testing::TestWithParam<TextCase> {};

TEST_P(Ipv6Test, Canonical) {
    EXPECT_EQ(canonicalIpv6(GetParam().address), GetParam().expected) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Ipv6Test,
    ::testing::Values(TextCase{"MappedDotted", "::ffff:127.0.0.2", "127.0.0.2"},
                      TextCase{"MappedHex", "::FFFF:7f00:2", "127.0.0.2"},
                      TextCase{"MappedLongForm", "0:0:0:0:0:ffff:7f00:0002", "127.0.0.2"},
                      TextCase{"Loopback", "0:0:0:0:0:0:0:1", "[::1]"},
                      TextCase{"LeadingZerosDropped", "2001:0db8:0000:0000:0000:0000:0000:0001",
                               "[2001:db8::1]"},
                      TextCase{"LongestZeroRunCompressed", "1:0:0:2:0:0:0:3", "[1:0:0:2::3]"},
                      TextCase{"SingleZeroNotCompressed", "1:0:2:3:4:5:6:7", "[1:0:2:3:4:5:6:7]"},
                      TextCase{"AllZero", "::", "[::]"},
                      TextCase{"TwoGaps", "1::2::3", std::nullopt},
                      TextCase{"TooManyGroups", "1:2:3:4:5:6:7:8:9", std::nullopt},
                      TextCase{"GroupTooLong", "12345::1", std::nullopt},
                      TextCase{"NotHex", "::g", std::nullopt}),
    test::RowName());

}  // namespace
}  // namespace plintor
