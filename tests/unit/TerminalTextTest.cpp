// What --check-url writes back of an address: nothing that a terminal would act on.
#include "core/diagnostics/TerminalText.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class TerminalTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TerminalTextTest, Escapes) {
    EXPECT_EQ(terminalText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, TerminalTextTest,
    ::testing::Values(
        TextCase{"PlainAddressUnchanged", "http://host/a?b=c#d", "http://host/a?b=c#d"},
        TextCase{"BackslashesUnchanged", "http:\\\\127.0.0.2/", "http:\\\\127.0.0.2/"},
        TextCase{"UnicodeUnchanged",
                 "http://b\xC3\xBC"
                 "cher.de/",
                 "http://b\xC3\xBC"
                 "cher.de/"},
        TextCase{"EscapeSequence", "http://a/\x1B]0;owned\x07\x1B[2J",
                 "http://a/\\x1B]0;owned\\x07\\x1B[2J"},
        TextCase{"LineBreaksAndTab", "a\r\nb\tc", "a\\x0D\\x0Ab\\x09c"},
        TextCase{"NulAndDelete", std::string("a\0b\x7F", 4), "a\\x00b\\x7F"},
        TextCase{"C1ControlSequenceIntroducer",
                 "a\xC2\x9B"
                 "2J",
                 "a\\u009B2J"},
        TextCase{"RightToLeftOverride",
                 "http://a/\xE2\x80\xAE"
                 "fdp.exe",
                 "http://a/\\u202Efdp.exe"},
        TextCase{"IsolatesAndMarks", "\xE2\x81\xA6x\xE2\x81\xA9\xE2\x80\x8F\xD8\x9C",
                 "\\u2066x\\u2069\\u200F\\u061C"},
        TextCase{"LineSeparator",
                 "a\xE2\x80\xA8"
                 "b",
                 "a\\u2028b"},
        TextCase{"BytesThatAreNotUtf8", "a\xFF\xC3", "a\\xFF\\xC3"}),
    test::RowName());

}  // namespace
}  // namespace plintor
