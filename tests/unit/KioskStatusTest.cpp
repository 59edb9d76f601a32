#include "core/app/KioskStatus.h"

#include <gtest/gtest.h>

#include "core/support/JsonText.h"
#include "tests/support/LocalDates.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

struct JsonCase {
    const char* name;
    std::string text;
    std::string json;
};

const JsonCase JsonCases[] = {
    {"Plain", "http://a.example/x?y=1", R"("http://a.example/x?y=1")"},
    {"Empty", "", R"("")"},
    {"QuoteAndBackslash", R"(a"b\c)", R"("a\"b\\c")"},
    {"ShortEscapes", "\b\f\n\r\t", R"("\b\f\n\r\t")"},
    {"OtherControlsAsCodes", "\x01\x1F"s + '\0', R"("\u0001\u001f\u0000")"},
    {"DeleteAndSlashPass", "\x7F/", "\"\x7F/\""},
    {"NonAsciiPassesAsUtf8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E",
     "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E\""},
    {"LineSeparatorsEscaped", "\xE2\x80\xA8\xE2\x80\xA9", R"("\u2028\u2029")"},
    {"StrayByteReplaced", "a\xFFz", R"("a\ufffdz")"},
    {"CutSequenceReplaced", "a\xC3", R"("a\ufffd")"},
    {"OverlongSlashReplaced", "\xC0\xAF", R"("\ufffd\ufffd")"},
    {"SurrogateReplaced", "\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},
};

class JsonStringTest : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonStringTest, EscapesWhatJsonNeeds) {
    EXPECT_EQ(jsonString(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(Texts, JsonStringTest, ::testing::ValuesIn(JsonCases), test::RowName());

TEST(KioskStatusTest, EveryFieldOnOneLine) {
    KioskStatus status;
    status.version = "1.4.0";
    status.engine = "WebKitGTK 2.50.6";
    status.uptimeSeconds = 3725;
    status.address = "http://a.example/\"q\"";
    status.idleSeconds = 12;
    status.rendererRestarts = 2;
    status.lastReturn = test::date(2026, 3, 29) + 2h + 30min + 5s;
    status.memoryKiB = 412345;
    status.allowEntries = 5;
    status.denyEntries = 1000000;
    EXPECT_EQ(kioskStatusJson(status),
              R"({"version":"1.4.0","engine":"WebKitGTK 2.50.6","uptime":3725,)"
              R"("address":"http://a.example/\"q\"",)"
              R"("idle":12,"rendererRestarts":2,"lastReturn":"2026-03-29T02:30:05",)"
              R"("memoryKiB":412345,"lists":{"allow":5,"deny":1000000}})");
}

TEST(KioskStatusTest, UnknownsAreNull) {
    const std::string json = kioskStatusJson(KioskStatus{});
    EXPECT_NE(json.find(R"("lastReturn":null,"memoryKiB":null,)"), std::string::npos) << json;
}

// A page's address may be megabytes long (a data: address) and escape to six times its size.
TEST(KioskStatusTest, HugeAddressIsCutAtACharacterAndFitsOneMessage) {
    KioskStatus status;
    status.address = std::string(3 * MaxStatusAddress, '\x01');
    EXPECT_LE(kioskStatusJson(status).size(), MaxStatusJson);

    std::string euros;
    while (euros.size() < 2 * MaxStatusAddress) {
        euros += "\xE2\x82\xAC";
    }
    status.address = euros;
    const std::string json = kioskStatusJson(status);
    const std::size_t cut = MaxStatusAddress - MaxStatusAddress % 3;
    EXPECT_NE(json.find("\"address\":\"" + euros.substr(0, cut) + "\xE2\x80\xA6\","),
              std::string::npos);
}

}  // namespace
}  // namespace plintor
