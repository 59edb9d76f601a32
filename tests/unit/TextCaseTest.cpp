#include "core/support/TextCase.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(UpperCaseTest, AllLettersNotOnlyAscii) {
    EXPECT_EQ(upperCase("http://b\xC3\xBC"
                        "cher.de/\xC3\xBF"),
              "HTTP://B\xC3\x9C"
              "CHER.DE/\xC5\xB8");
    EXPECT_EQ(upperCase("stra\xC3\x9F"
                        "e"),
              "STRA\xC3\x9F"
              "E");  // ß has no single upper case
    EXPECT_EQ(asciiUpper("b\xC3\xBC"), "B\xC3\xBC");
}

TEST(TrimTest, RemovesControlCharactersAndBlanks) {
    EXPECT_EQ(trim(" \t\r\nkey \x01"), "key");
    EXPECT_EQ(trim("  "), "");
}

}  // namespace
}  // namespace plintor
