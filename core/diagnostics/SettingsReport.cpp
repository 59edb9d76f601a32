#include "core/diagnostics/SettingsReport.h"

#include <array>
#include <map>

#include "core/config/IniFormat.h"
#include "core/support/HtmlColor.h"
#include "core/support/NumberText.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

enum class TKeyKind { Text, Boolean, Integer, TimeOfDay, Color };

struct TKeyInfo {
    std::string_view Name;
    TKeyKind Kind;
    std::function<std::string(const TSettings&)> Value;
};

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

std::string RestartText(TDateTime restart) {
    return restart == -1 ? "-1" : FormatIniTime(restart);
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

const std::array<TKeyInfo, 21>& SettingsKeys() {
    using K = TKeyKind;
    static const std::array<TKeyInfo, 21> keys = {{
        {"Password", K::Text, [](const TSettings& s) { return s.Password; }},
        {"NavigationPanel", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.NavigationPanel); }},
        {"TouchKeyboard", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.TouchKeyboard); }},
        {"TouchKeyboardOnTop", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.TouchKeyboardOnTop); }},
        {"TouchKeyboardSize", K::Integer,
         [](const TSettings& s) { return std::to_string(s.TouchKeyboardSize); }},
        {"TouchKeyboardLayout", K::Text, [](const TSettings& s) { return s.TouchKeyboardLayout; }},
        {"DisplayAlwaysOn", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.DisplayAlwaysOn); }},
        {"AutoReturn", K::Integer, [](const TSettings& s) { return std::to_string(s.AutoReturn); }},
        {"AutoRestart", K::TimeOfDay,
         [](const TSettings& s) { return RestartText(s.AutoRestart); }},
        {"DownloadPDF", K::Boolean, [](const TSettings& s) { return BooleanText(s.DownloadPDF); }},
        {"DownloadWord", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.DownloadWord); }},
        {"ConvertWordToPDF", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.ConvertWordToPDF); }},
        {"Wheelchair", K::Integer, [](const TSettings& s) { return std::to_string(s.Wheelchair); }},
        {"MsgBlocked", K::Text, [](const TSettings& s) { return s.MsgBlocked; }},
        {"AutoCloseAll", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.AutoCloseAll); }},
        {"KillExplorer", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.KillExplorer); }},
        {"ProgressIndicator", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.ProgressIndicator); }},
        {"MarginRight", K::Integer,
         [](const TSettings& s) { return std::to_string(s.MarginRight); }},
        {"BackgroundColor", K::Color,
         [](const TSettings& s) { return ColorText(s.BackgroundColor); }},
        {"Screensaver", K::Text, [](const TSettings& s) { return s.Screensaver; }},
        {"DenyAllRequests", K::Boolean,
         [](const TSettings& s) { return BooleanText(s.DenyAllRequests); }},
    }};
    return keys;
}

const TKeyInfo* FindKey(std::string_view normalisedKey) {
    for (const TKeyInfo& key : SettingsKeys()) {
        if (AsciiUpper(key.Name) == normalisedKey) {
            return &key;
        }
    }
    return nullptr;
}

// "BUTTON<n>WIDTH", "BUTTON<n>URL" or "BUTTON<n>CAPTION" with n from 1 to 99, no leading zero.
bool IsButtonKey(std::string_view key) {
    if (!key.starts_with("BUTTON")) {
        return false;
    }
    key.remove_prefix(6);
    std::size_t digits = 0;
    while (digits < key.size() && key[digits] >= '0' && key[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 2 || key[0] == '0') {
        return false;
    }
    const std::string_view part = key.substr(digits);
    return part == "WIDTH" || part == "URL" || part == "CAPTION";
}

// The problem with a value of the given kind, or empty when the program can use it.
std::string ValueProblem(TKeyKind kind, const std::string& value) {
    switch (kind) {
        case TKeyKind::Boolean: {
            const std::string upper = AsciiUpper(value);
            return upper == "TRUE" || upper == "FALSE" ? "" : "is neither True nor False";
        }
        case TKeyKind::Integer:
            return ParseInteger(value) ? "" : "is not a whole number";
        case TKeyKind::TimeOfDay:
            return ParseIniTime(value) ? "" : "is not a time of day such as 3:00";
        case TKeyKind::Color:
            return value.empty() || !ColorText(value).empty() ? ""
                                                              : "is not a colour such as #FF8000";
        case TKeyKind::Text:
            break;
    }
    return {};
}

bool LooksLikeKey(std::string_view key) {
    return !key.empty() && std::isalnum(static_cast<unsigned char>(key[0]));
}

}  // namespace

std::vector<std::string> FormatSettingsLines(const TSettings& settings,
                                             const std::vector<TNavButton>& buttons) {
    std::vector<std::string> lines;
    for (const TKeyInfo& key : SettingsKeys()) {
        lines.push_back(std::string(key.Name) + "=" + key.Value(settings));
    }
    for (const TNavButton& button : buttons) {
        lines.push_back("Button=" + std::to_string(button.Width) + "|" + button.Caption + "|" +
                        button.URL);
    }
    return lines;
}

bool IsKnownSettingsKey(std::string_view normalisedKey) {
    return FindKey(normalisedKey) != nullptr || IsButtonKey(normalisedKey);
}

void CheckSettingsFile(const TIni& ini, const std::string& fileLabel,
                       const std::function<void(const std::string&)>& warn) {
    std::map<std::string, std::size_t> firstLine;
    const std::vector<std::string>& lines = ini.Lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TIniLine line = SplitIniLine(lines[index]);
        if (!LooksLikeKey(line.Key)) {
            continue;
        }
        const std::string where = fileLabel + " line " + std::to_string(index + 1) + ": ";
        const std::string spelled(
            Trim(std::string_view(lines[index]).substr(0, lines[index].find('='))));
        if (!IsKnownSettingsKey(line.Key)) {
            warn(where + "unknown key \"" + spelled + "\"");
            continue;
        }
        const auto [first, isNew] = firstLine.emplace(line.Key, index + 1);
        if (!isNew) {
            warn(where + spelled + " is set again; the value of line " +
                 std::to_string(first->second) + " is used");
            continue;
        }
        if (const TKeyInfo* key = FindKey(line.Key)) {
            const std::string problem = ValueProblem(key->Kind, line.Value);
            if (!problem.empty()) {
                warn(where + "\"" + line.Value + "\" " + problem + "; " + std::string(key->Name) +
                     " keeps its default");
            }
        }
    }
}

}  // namespace plintor
