#include "core/config/SettingsKeys.h"

#include <algorithm>

#include "core/config/IniFormat.h"
#include "core/support/HtmlColor.h"
#include "core/support/NumberText.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

using K = TKeyKind;

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

// "#RRGGBB" for a colour configured in a form the program accepts, else empty.
std::string ColorText(const std::string& configured) {
    constexpr TColor unset = -1;
    const TColor color = ParseHtmlColor(configured, unset);
    if (color == unset) {
        return {};
    }
    const auto bgr = static_cast<std::uint32_t>(color);
    return "#" + HexOf8(bgr & 0xFF) + HexOf8((bgr >> 8) & 0xFF) + HexOf8((bgr >> 16) & 0xFF);
}

int InRange(int value, int fallback, const std::optional<TKeyRange>& range) {
    if (!range) {
        return value;
    }
    if (range->Rule == TKeyRange::AtLeast) {
        return value < range->Min ? fallback : value;
    }
    return std::clamp(value, range->Min, range->Max);
}

}  // namespace

const std::vector<TSettingKey>& SettingKeys() {
    static const std::vector<TSettingKey> keys = {
        {"Password", K::Text, &TSettings::Password, {}},
        {"NavigationPanel", K::Boolean, &TSettings::NavigationPanel, {}},
        {"TouchKeyboard", K::Boolean, &TSettings::TouchKeyboard, {}},
        {"TouchKeyboardOnTop", K::Boolean, &TSettings::TouchKeyboardOnTop, {}},
        {"TouchKeyboardSize", K::Integer, &TSettings::TouchKeyboardSize,
         TKeyRange{TKeyRange::Clamp, 100, 200}},
        {"TouchKeyboardLayout", K::Text, &TSettings::TouchKeyboardLayout, {}},
        {"DisplayAlwaysOn", K::Boolean, &TSettings::DisplayAlwaysOn, {}},
        {"AutoReturn", K::Integer, &TSettings::AutoReturn, TKeyRange{TKeyRange::AtLeast, 1, 0}},
        {"AutoRestart", K::TimeOfDay, &TSettings::AutoRestart, {}},
        {"DownloadPDF", K::Boolean, &TSettings::DownloadPDF, {}},
        {"DownloadWord", K::Boolean, &TSettings::DownloadWord, {}},
        {"ConvertWordToPDF", K::Boolean, &TSettings::ConvertWordToPDF, {}},
        {"Wheelchair", K::Integer, &TSettings::Wheelchair, TKeyRange{TKeyRange::Clamp, 0, 70}},
        {"MsgBlocked", K::Text, &TSettings::MsgBlocked, {}},
        {"AutoCloseAll", K::Boolean, &TSettings::AutoCloseAll, {}},
        {"KillExplorer", K::Boolean, &TSettings::KillExplorer, {}},
        {"ProgressIndicator", K::Boolean, &TSettings::ProgressIndicator, {}},
        {"MarginRight", K::Integer, &TSettings::MarginRight, {}},
        {"BackgroundColor", K::Color, &TSettings::BackgroundColor, {}},
        {"Screensaver", K::Text, &TSettings::Screensaver, {}},
        {"DenyAllRequests", K::Boolean, &TSettings::DenyAllRequests, {}},
    };
    return keys;
}

const TSettingKey* FindSettingKey(std::string_view name) {
    const std::string wanted = NormaliseIniKey(name);
    for (const TSettingKey& key : SettingKeys()) {
        if (AsciiUpper(key.Name) == wanted) {
            return &key;
        }
    }
    return nullptr;
}

bool IsButtonKey(std::string_view name) {
    const std::string key = NormaliseIniKey(name);
    std::string_view rest = key;
    if (!rest.starts_with("BUTTON")) {
        return false;
    }
    rest.remove_prefix(6);
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 2 || rest[0] == '0') {
        return false;
    }
    const std::string_view part = rest.substr(digits);
    return part == "WIDTH" || part == "URL" || part == "CAPTION";
}

std::string ButtonKey(int number, const char* part) {
    return "Button" + std::to_string(number) + part;
}

void ReadSettingKey(const TIni& ini, const TSettingKey& key, TSettings& settings) {
    std::visit(
        [&](auto member) {
            auto& field = settings.*member;
            using TField = std::remove_reference_t<decltype(field)>;
            if constexpr (std::is_same_v<TField, std::string>) {
                field = ini.ReadString(key.Name, field);
            } else if constexpr (std::is_same_v<TField, bool>) {
                field = ini.ReadBoolean(key.Name, field);
            } else if constexpr (std::is_same_v<TField, int>) {
                field = InRange(ini.ReadInteger(key.Name, field), TSettings{}.*member, key.Range);
            } else {
                field = ini.ReadTime(key.Name, field);
            }
        },
        key.Member);
}

std::string SettingValueText(const TSettingKey& key, const TSettings& settings) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& field = settings.*member;
            using TField = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<TField, std::string>) {
                return key.Kind == K::Color ? ColorText(field) : field;
            } else if constexpr (std::is_same_v<TField, bool>) {
                return BooleanText(field);
            } else if constexpr (std::is_same_v<TField, int>) {
                return std::to_string(field);
            } else {
                return field == -1 ? "-1" : FormatIniTime(field);
            }
        },
        key.Member);
}

std::string SettingValueProblem(const TSettingKey& key, const std::string& value) {
    switch (key.Kind) {
        case K::Boolean: {
            const std::string upper = AsciiUpper(value);
            return upper == "TRUE" || upper == "FALSE" ? "" : "is neither True nor False";
        }
        case K::Integer:
            return ParseInteger(value) ? "" : "is not a whole number";
        case K::TimeOfDay:
            return ParseIniTime(value) ? "" : "is not a time of day such as 3:00";
        case K::Color:
            return value.empty() || !ColorText(value).empty() ? ""
                                                              : "is not a colour such as #FF8000";
        case K::Text:
            break;
    }
    return {};
}

}  // namespace plintor
