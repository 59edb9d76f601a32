// One host, one spelling: the forms of an address the decision must treat alike.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/browser/CanonicalAddress.h"
#include "core/browser/IpAddress.h"
#include "core/browser/ServerSideForm.h"

namespace plintor {
namespace {

struct TTextCase {
    const char* Name;
    std::string Input;
    std::optional<std::string> Expected;
};

std::string CaseName(const ::testing::TestParamInfo<TTextCase>& info) {
    return info.param.Name;
}

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
                         CaseName);

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
    CaseName);

class CanonicalAddressTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(CanonicalAddressTest, Canonical) {
    EXPECT_EQ(CanonicalAddress(GetParam().Input), GetParam().Expected) << GetParam().Input;
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, CanonicalAddressTest,
    ::testing::Values(
        TTextCase{"HostLowerCased", "http://LocalHost:8080/A", "http://localhost:8080/A"},
        TTextCase{"TrailingDotsDropped", "http://localhost..:8080/x", "http://localhost:8080/x"},
        TTextCase{"MappedIpv6BecomesIpv4", "http://[::ffff:127.0.0.2]/", "http://127.0.0.2/"},
        TTextCase{"OtherIpv6Shortened", "http://[0:0::1]:8080/", "http://[::1]:8080/"},
        TTextCase{"NumericHostDotted", "http://2130706433/x", "http://127.0.0.1/x"},
        TTextCase{"EscapedHostDecoded", "http://%6Cocalhost/", "http://localhost/"},
        TTextCase{"UserInfoDropped", "http://allowed.example@evil.example/",
                  "http://evil.example/"},
        TTextCase{"DefaultPortDropped", "http://host:80/x", "http://host/x"},
        TTextCase{"HttpsDefaultPortDropped", "https://host:443", "https://host"},
        TTextCase{"EmptyPortDropped", "http://host:/x", "http://host/x"},
        TTextCase{"OtherPortKept", "http://host:8080/x", "http://host:8080/x"},
        TTextCase{"BackslashEndsTheHost", "http://evil.example\\@allowed.example/",
                  "http://evil.example/@allowed.example/"},
        TTextCase{"BlanksAndTabsDropped", " http://ho\tst/x\n ", "http://host/x"},
        TTextCase{"FileLocalhostIsNoHost", "file://localhost/tmp/a.pdf", "file:///tmp/a.pdf"},
        TTextCase{"PathAndQueryUntouched", "http://h/A%2Fb?Q=%41#F", "http://h/A%2Fb?Q=%41#F"},
        TTextCase{"NoSchemeUnchanged", "javascript:alert('HTTP://X')",
                  "javascript:alert('HTTP://X')"},
        TTextCase{"AboutBlankUnchanged", "about:blank", "about:blank"}),
    CaseName);

class ServerSideFormTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(ServerSideFormTest, Lenient) {
    EXPECT_EQ(ServerSideForm(GetParam().Input), GetParam().Expected) << GetParam().Input;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ServerSideFormTest,
    ::testing::Values(
        TTextCase{"AlreadyPlain", "HTTP://HOST/A/B", std::nullopt},
        TTextCase{"NoPath", "HTTP://HOST", std::nullopt},
        TTextCase{"SlashesMerged", "HTTP://HOST/ALLOWED//SECRET", "HTTP://HOST/ALLOWED/SECRET"},
        TTextCase{"EscapedSlashAndDots", "HTTP://HOST/ALLOWED%2F..%2FSECRET", "HTTP://HOST/SECRET"},
        TTextCase{"EscapedLetterUpperCased", "HTTP://HOST/%73ECRET", "HTTP://HOST/SECRET"},
        TTextCase{"DotSegments", "HTTP://HOST/A/./B/../C", "HTTP://HOST/A/C"},
        TTextCase{"DotDotAboveTheRoot", "HTTP://HOST/../../X", "HTTP://HOST/X"},
        TTextCase{"TrailingSlashDropped", "HTTP://HOST/A//", "HTTP://HOST/A"},
        TTextCase{"ReservedEscapeKept", "HTTP://HOST/A%3FB", std::nullopt},
        TTextCase{"HostSlashesNotMerged", "FILE:///TMP//A", "FILE:///TMP/A"},
        TTextCase{"NotHierarchical", "JAVASCRIPT:A//B", std::nullopt}),
    CaseName);

}  // namespace
}  // namespace plintor
