#include "core/support/TextCase.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(UpperCaseTest, AllLettersNotOnlyAscii) {
    EXPECT_EQ(UpperCase("http://b\xC3\xBC"
                        "cher.de/\xC3\xBF"),
              "HTTP://B\xC3\x9C"
              "CHER.DE/\xC5\xB8");
    EXPECT_EQ(UpperCase("stra\xC3\x9F"
                        "e"),
              "STRA\xC3\x9F"
              "E");  // ß has no single upper case
    EXPECT_EQ(AsciiUpper("b\xC3\xBC"), "B\xC3\xBC");
}

TEST(TrimTest, RemovesControlCharactersAndBlanks) {
    EXPECT_EQ(Trim(" \t\r\nkey \x01"), "key");
    EXPECT_EQ(Trim("  "), "");
}

}  // namespace
}  // namespace plintor
