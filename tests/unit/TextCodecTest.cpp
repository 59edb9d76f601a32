#include "core/support/TextCodec.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

using namespace std::string_literals;

TEST(DecodeAnsiTest, Utf8StaysAndOtherBytesAreWindows1252) {
    EXPECT_EQ(decodeAnsi("caf\xC3\xA9"), "caf\xC3\xA9");                    // UTF-8 é
    EXPECT_EQ(decodeAnsi("caf\xE9"), "caf\xC3\xA9");                        // Windows-1252 é
    EXPECT_EQ(decodeAnsi("\x80 \x9F"), "\xE2\x82\xAC \xC5\xB8");            // € and Ÿ
    EXPECT_EQ(decodeAnsi("\xC3\xA9\xE9"), "\xC3\xA9\xC3\xA9");              // both in one text
    EXPECT_EQ(decodeAnsi("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // no surrogates
}

TEST(Utf16Test, DecodesBothByteOrdersIncludingSurrogatePairs) {
    const std::string text = "A\xC3\xA9\xF0\x9F\x98\x80";  // A, é, U+1F600
    EXPECT_EQ(decodeUtf16("A\0\xE9\0\x3D\xD8\x00\xDE"s, false), text);
    EXPECT_EQ(decodeUtf16("\0A\0\xE9\xD8\x3D\xDE\x00"s, true), text);
    EXPECT_EQ(decodeUtf16("\x00\xD8"s, false), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace plintor
