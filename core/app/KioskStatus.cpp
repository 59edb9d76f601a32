#include "core/app/KioskStatus.h"

#include "core/support/JsonText.h"

namespace plintor {
namespace {

// The version is the build's own, but a report must stay within its bound whatever it holds.
constexpr std::size_t MaxStatusVersion = 256;

std::string boundedText(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 sequence
    }
    return text.substr(0, cut) + "\xE2\x80\xA6";
}

std::string member(const char* name, const std::string& json) {
    return std::string("\"") + name + "\":" + json;
}

std::string number(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

std::string kioskStatusJson(const KioskStatus& status) {
    const std::string lists = "{" + member("allow", std::to_string(status.allowEntries)) + "," +
                              member("deny", std::to_string(status.denyEntries)) + "}";
    return "{" + member("version", jsonString(boundedText(status.version, MaxStatusVersion))) +
           "," + member("engine", jsonString(boundedText(status.engine, MaxStatusVersion))) + "," +
           member("uptime", number(status.uptimeSeconds)) + "," +
           member("address", jsonString(boundedText(status.address, MaxStatusAddress))) + "," +
           member("idle", number(status.idleSeconds)) + "," +
           member("rendererRestarts", number(status.rendererRestarts)) + "," +
           member("lastReturn",
                  status.lastReturn ? jsonString(isoDateTimeText(*status.lastReturn)) : "null") +
           "," + member("memoryKiB", status.memoryKiB >= 0 ? number(status.memoryKiB) : "null") +
           "," + member("lists", lists) + "}";
}

}  // namespace plintor
