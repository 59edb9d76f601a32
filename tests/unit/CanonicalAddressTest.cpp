// One host, one spelling: the forms of an address the decision must treat alike.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/browser/CanonicalAddress.h"
#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using TextCase = test::AddressCase<std::optional<std::string>>;

class CanonicalAddressTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CanonicalAddressTest, Canonical) {
    EXPECT_EQ(canonicalAddress(GetParam().address), GetParam().expected) << GetParam().address;
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
        TextCase{"AboutBlankUnchanged", "about:blank", "about:blank"},
        TextCase{"MailtoUnchanged", "mailto:a@b.example", "mailto:a@b.example"},
        TextCase{"DrivePathUnchanged", "C:\\Temp\\a.pdf", "C:\\Temp\\a.pdf"}),
    test::RowName());

// What the engine (WHATWG URL parsing) makes of an address the visitor, a page or the operator
// writes: the key must name the host the engine will reach.
INSTANTIATE_TEST_SUITE_P(
    EngineForms, CanonicalAddressTest,
    ::testing::Values(
        TextCase{"UnicodeHostInPunycode",
                 "http://b\xC3\xBC"
                 "cher.de/x",
                 "http://xn--bcher-kva.de/x"},
        TextCase{"UnicodeCapitalsMapped",
                 "http://B\xC3\x9C"
                 "CHER.DE/",
                 "http://xn--bcher-kva.de/"},
        TextCase{"PunycodeHostKept", "http://XN--BCHER-KVA.de/", "http://xn--bcher-kva.de/"},
        TextCase{"EscapedUnicodeHost", "http://b%C3%BCcher.de/", "http://xn--bcher-kva.de/"},
// Windows' IdnToAscii knows IDNA 2003 only, which maps the sharp s to "ss".
#ifdef _WIN32
        TextCase{"SharpSAsIdna2003",
                 "http://stra\xC3\x9F"
                 "e.de/",
                 "http://strasse.de/"},
#else
        TextCase{"SharpSNontransitional",
                 "http://stra\xC3\x9F"
                 "e.de/",
                 "http://xn--strae-oqa.de/"},
#endif
        TextCase{"IdeographicFullStops",
                 "http://127\xE3\x80\x82"
                 "0\xE3\x80\x82"
                 "0\xE3\x80\x82"
                 "2/",
                 "http://127.0.0.2/"},
        TextCase{"FullWidthDigits", "http://\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x97.0.0.2/",
                 "http://127.0.0.2/"},
        TextCase{"FullWidthLetters", "http://\xEF\xBD\x85\xEF\xBD\x98.example/",
                 "http://ex.example/"},
        TextCase{"HyphenLabelBesideUnicodeLabel",
                 "http://ab--c.b\xC3\xBC"
                 "cher.de/",
                 "http://ab--c.xn--bcher-kva.de/"},
        TextCase{"BackslashesForSlashes", "http:\\\\127.0.0.2/", "http://127.0.0.2/"},
        TextCase{"NoSlashesAfterTheScheme", "http:127.0.0.2/", "http://127.0.0.2/"},
        TextCase{"OneSlashAfterTheScheme", "HTTPS:/127.0.0.2/x", "https://127.0.0.2/x"},
        TextCase{"ThreeSlashesAfterTheScheme", "http:///127.0.0.2/", "http://127.0.0.2/"},
        TextCase{"MixedSlashesAfterTheScheme", "ws:/\\/127.0.0.2:81", "ws://127.0.0.2:81"},
        TextCase{"OtherSchemesNeedTwoSlashes", "foo:127.0.0.2/", "foo:127.0.0.2/"}),
    test::RowName());

}  // namespace
}  // namespace plintor
