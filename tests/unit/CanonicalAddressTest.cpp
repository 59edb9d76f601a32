// One host, one spelling: the forms of an address the decision must treat alike.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/browser/CanonicalAddress.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct TTextCase {
    const char* Name;
    std::string Input;
    std::optional<std::string> Expected;
};

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
    test::TRowName());

}  // namespace
}  // namespace plintor
