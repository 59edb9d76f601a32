#include "platform/win32/KeyScanCodes.h"

#include <array>
#include <utility>

namespace plintor {
namespace {

struct NamedKey {
    std::string_view name;
    ScanCode scan;
};

// The rows run left to right, so a row's keys have consecutive codes.
constexpr std::array<std::pair<std::string_view, unsigned short>, 4> Rows = {{
    {"AE", 0x01},  // AE01 is 0x02
    {"AD", 0x0F},  // AD01 is 0x10
    {"AC", 0x1D},  // AC01 is 0x1E
    {"AB", 0x2B},  // AB01 is 0x2C
}};

constexpr NamedKey Keys[] = {
    {"ESC", {0x01, false}},  {"TLDE", {0x29, false}}, {"BKSP", {0x0E, false}},
    {"TAB", {0x0F, false}},  {"RTRN", {0x1C, false}}, {"CAPS", {0x3A, false}},
    {"BKSL", {0x2B, false}}, {"AC12", {0x2B, false}}, {"AE13", {0x7D, false}},
    {"AB11", {0x73, false}}, {"LSGT", {0x56, false}}, {"LFSH", {0x2A, false}},
    {"RTSH", {0x36, false}}, {"LCTL", {0x1D, false}}, {"LALT", {0x38, false}},
    {"RALT", {0x38, true}},  {"SPCE", {0x39, false}}, {"DELE", {0x53, true}},
    {"HOME", {0x47, true}},  {"LEFT", {0x4B, true}},  {"RGHT", {0x4D, true}},
    {"UP", {0x48, true}},    {"DOWN", {0x50, true}},  {"KP7", {0x47, false}},
    {"KP8", {0x48, false}},  {"KP9", {0x49, false}},  {"KPSU", {0x4A, false}},
    {"KP4", {0x4B, false}},  {"KP5", {0x4C, false}},  {"KP6", {0x4D, false}},
    {"KPAD", {0x4E, false}}, {"KP1", {0x4F, false}},  {"KP2", {0x50, false}},
    {"KP3", {0x51, false}},  {"KP0", {0x52, false}},  {"KPDL", {0x53, false}},
    {"KPEN", {0x1C, true}},  {"KPDV", {0x35, true}},  {"KPMU", {0x37, false}},
};

std::optional<ScanCode> rowKey(std::string_view name) {
    if (name.size() != 4 || name[2] < '0' || name[2] > '1' || name[3] < '0' || name[3] > '9') {
        return std::nullopt;
    }
    const int column = (name[2] - '0') * 10 + (name[3] - '0');
    if (column < 1 || column > 12) {
        return std::nullopt;
    }
    for (const auto& [row, beforeFirst] : Rows) {
        // AB stops at AB10; AC12 and the rest are in the table above.
        if (name.substr(0, 2) == row && !(row == "AB" && column > 10) &&
            !(row == "AC" && column > 11)) {
            return ScanCode{static_cast<unsigned short>(beforeFirst + column), false};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ScanCode> scanCodeOfKey(std::string_view keyName) {
    for (const NamedKey& key : Keys) {
        if (key.name == keyName) {
            return key.scan;
        }
    }
    return rowKey(keyName);
}

}  // namespace plintor
