// One host, one spelling: the forms of an address the decision must treat alike.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/browser/CanonicalAddress.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::optional<std::string> expected;
};

class CanonicalAddressTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CanonicalAddressTest, Canonical) {
    EXPECT_EQ(canonicalAddress(GetParam().input), GetParam().expected) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, CanonicalAddressTest,
    ::testing::Values(
        TextCase{"HostLowerCased", "http://LocalHost:8080/A", "http://localhost:8080/A"},
        TextCase{"TrailingDotsDropped", "http://localhost..:8080/x", "http://localhost:8080/x"},
        TextCase{"MappedIpv6BecomesIpv4", "http://[::ffff:127.0.0.2]/", "http://127.0.0.2/"},
        TextCase{"OtherIpv6Shortened", "http://[0:0::1]:8080/", "http://[::1]:8080/"},
        TextCase{"NumericHostDotted", "http://2130706433/x", "http://127.0.0.1/x"},
        TextCase{"EscapedHostDecoded", "http://%6Cocalhost/", "http://localhost/"},
        TextCase{"UserInfoDropped", "http://allowed.example@evil.example/", "http://evil.example/"},
        TextCase{"DefaultPortDropped", "http://host:80/x", "http://host/x"},
        TextCase{"HttpsDefaultPortDropped", "https://host:443", "https://host"},
        TextCase{"EmptyPortDropped", "http://host:/x", "http://host/x"},
        TextCase{"OtherPortKept", "http://host:8080/x", "http://host:8080/x"},
        TextCase{"BackslashEndsTheHost", "http://evil.example\\@allowed.example/",
                 "http://evil.example/@allowed.example/"},
        TextCase{"BlanksAndTabsDropped", " http://ho\tst/x\n ", "http://host/x"},
        TextCase{"FileLocalhostIsNoHost", "file://localhost/tmp/a.pdf", "file:///tmp/a.pdf"},
        TextCase{"PathAndQueryUntouched", "http://h/A%2Fb?Q=%41#F", "http://h/A%2Fb?Q=%41#F"},
        TextCase{"NoSchemeUnchanged", "javascript:alert('HTTP://X')",
                 "javascript:alert('HTTP://X')"},
        TextCase{"AboutBlankUnchanged", "about:blank", "about:blank"}),
    test::RowName());

}  // namespace
}  // namespace plintor
