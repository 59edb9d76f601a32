#include "core/config/SettingsKeys.h"

#include <algorithm>

#include "core/config/IniFormat.h"
#include "core/support/HtmlColor.h"
#include "core/support/NumberText.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

using K = KeyKind;

std::string booleanText(bool value) {
    return value ? "True" : "False";
}

// "#RRGGBB" for a colour configured in a form the program accepts, else empty.
std::string colorText(const std::string& configured) {
    constexpr Color unset = -1;
    const Color color = parseHtmlColor(configured, unset);
    if (color == unset) {
        return {};
    }
    const auto bgr = static_cast<std::uint32_t>(color);
    return "#" + hexOf8(bgr & 0xFF) + hexOf8((bgr >> 8) & 0xFF) + hexOf8((bgr >> 16) & 0xFF);
}

int inRange(int value, int fallback, const std::optional<KeyRange>& range) {
    if (!range) {
        return value;
    }
    if (range->rule == KeyRange::AtLeast) {
        return value < range->min ? fallback : value;
    }
    return std::clamp(value, range->min, range->max);
}

}  // namespace

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = {
        {"Password",
         K::Text,
         &KioskSettings::password,
         {},
         "password of the shutdown panel (Control+Shift+F4); may be empty"},
        {"NavigationPanel",
         K::Boolean,
         &KioskSettings::navigationPanel,
         {},
         "show the navigation panel"},
        {"TouchKeyboard",
         K::Boolean,
         &KioskSettings::touchKeyboard,
         {},
         "show the on-screen keyboard button"},
        {"TouchKeyboardOnTop",
         K::Boolean,
         &KioskSettings::touchKeyboardOnTop,
         {},
         "dock the keyboard at the top instead of the bottom"},
        {"TouchKeyboardSize", K::Integer, &KioskSettings::touchKeyboardSize,
         KeyRange{KeyRange::Clamp, 100, 200}, "keyboard size in percent"},
        {"TouchKeyboardLayout",
         K::Text,
         &KioskSettings::touchKeyboardLayout,
         {},
         "keyboard layout: Standard, Standard2 or NumPad"},
        {"DisplayAlwaysOn",
         K::Boolean,
         &KioskSettings::displayAlwaysOn,
         {},
         "keep the display switched on"},
        {"AutoReturn", K::Integer, &KioskSettings::autoReturn, KeyRange{KeyRange::AtLeast, 1, 0},
         "minutes without input before the home page returns"},
        {"AutoRestart",
         K::TimeOfDay,
         &KioskSettings::autoRestart,
         {},
         "daily restart time, e.g. 3:00 or 3:00 am; an invalid time leaves it off"},
        {"DownloadPDF", K::Boolean, &KioskSettings::downloadPdf, {}, "PDF documents may be opened"},
        {"DownloadWord",
         K::Boolean,
         &KioskSettings::downloadWord,
         {},
         "Word documents (.doc, .docx) may be opened"},
        {"ConvertWordToPDF",
         K::Boolean,
         &KioskSettings::convertWordToPdf,
         {},
         "Word documents are converted to PDF before they are shown"},
        {"Wheelchair", K::Integer, &KioskSettings::wheelchair, KeyRange{KeyRange::Clamp, 0, 70},
         "height of the wheelchair spacer in percent of the window; 0 hides the button"},
        {"MsgBlocked",
         K::Text,
         &KioskSettings::msgBlocked,
         {},
         "text of the hint shown when an address is blocked"},
        {"AutoCloseAll",
         K::Boolean,
         &KioskSettings::autoCloseAll,
         {},
         "end the programs of other windows on the display as they appear, and every 5 seconds "
         "while one stays"},
        {"KillExplorer",
         K::Boolean,
         &KioskSettings::killExplorer,
         {},
         "stop the desktop shell while the kiosk runs, start it again at its end"},
        {"ProgressIndicator",
         K::Boolean,
         &KioskSettings::progressIndicator,
         {},
         "show a progress animation while pages load"},
        {"MarginRight",
         K::Integer,
         &KioskSettings::marginRight,
         {},
         "right inner margin of the window in pixels"},
        {"BackgroundColor", K::Color, &KioskSettings::backgroundColor, {}, "panel colour"},
        {"Screensaver",
         K::Text,
         &KioskSettings::screensaver,
         {},
         "address shown after the return to the home page"},
        {"DenyAllRequests",
         K::Boolean,
         &KioskSettings::denyAllRequests,
         {},
         "the deny list also stops what an allowed page loads itself"},
        {"ClearSessionOnReturn",
         K::Boolean,
         &KioskSettings::clearSessionOnReturn,
         {},
         "the idle return also ends the visitor's session (cookies, storage, cache)"},
        {"ReturnWarning", K::Integer, &KioskSettings::returnWarning,
         KeyRange{KeyRange::Clamp, 0, 3600},
         "seconds before the idle return a notice with a countdown covers the page; 0 shows none"},
        {"MsgReturnWarning",
         K::Text,
         &KioskSettings::msgReturnWarning,
         {},
         "text of that notice; %d is the live countdown"},
        {"MemoryLimitMB", K::Integer, &KioskSettings::memoryLimitMb,
         KeyRange{KeyRange::AtLeast, 0, 0},
         "at a return home, the page is started afresh when the kiosk uses more memory than this; "
         "0 for no limit"},
        {"KeyboardOnFocus", K::Integer, &KioskSettings::keyboardOnFocus,
         KeyRange{KeyRange::Clamp, KeyboardOnFocusNever, KeyboardOnFocusAlways},
         "the on-screen keyboard opens when a text field takes the focus and closes when none "
         "has it: 0 never, 1 on a touch screen, 2 always"},
        {"ZoomButtons",
         K::Boolean,
         &KioskSettings::zoomButtons,
         {},
         "show buttons that make the page smaller and larger in steps of 25 %"},
        {"ZoomMin", K::Integer, &KioskSettings::zoomMin, KeyRange{KeyRange::Clamp, 25, 100},
         "smallest page zoom in percent (25 to 100)"},
        {"ZoomMax", K::Integer, &KioskSettings::zoomMax, KeyRange{KeyRange::Clamp, 100, 500},
         "largest page zoom in percent (100 to 500)"},
        {"PinchZoom",
         K::Boolean,
         &KioskSettings::pinchZoom,
         {},
         "a pinch on a touch screen zooms the page"},
        {"BlockedHintSeconds", K::Integer, &KioskSettings::blockedHintSeconds,
         KeyRange{KeyRange::Clamp, 1, 600},
         "seconds the answer to a blocked address stays unless touched (1 to 600)"},
        {"MsgLoadError",
         K::Text,
         &KioskSettings::msgLoadError,
         {},
         "text of the kiosk's page shown when a page cannot be loaded"},
        {"RetrySeconds", K::Integer, &KioskSettings::retrySeconds,
         KeyRange{KeyRange::Clamp, 5, 3600},
         "seconds between the tries to load a page again while it cannot be loaded (5 to 3600)"},
        {"SessionMinutes", K::Integer, &KioskSettings::sessionMinutes,
         KeyRange{KeyRange::AtLeast, 0, 0},
         "minutes of continuous use after which the visitor is warned and the session ends as "
         "at the idle return; 0 for no limit"},
        {"MsgSessionEnd",
         K::Text,
         &KioskSettings::msgSessionEnd,
         {},
         "text of the notice before a session's time ends; %d is the live countdown"},
        {"MetricsFile",
         K::Text,
         &KioskSettings::metricsFile,
         {},
         "file the kiosk's metrics are written to for Prometheus's node_exporter (textfile "
         "collector) every minute and at each return home; empty writes none"},
    };
    return keys;
}

const SettingKey* findSettingKey(std::string_view name) {
    const std::string wanted = normaliseIniKey(name);
    for (const SettingKey& key : settingKeys()) {
        if (asciiUpper(key.name) == wanted) {
            return &key;
        }
    }
    return nullptr;
}

bool isButtonKey(std::string_view name) {
    const std::string key = normaliseIniKey(name);
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

std::string buttonKey(int number, const char* part) {
    return "Button" + std::to_string(number) + part;
}

void readSettingKey(const IniReader& ini, const SettingKey& key, KioskSettings& settings) {
    std::visit(
        [&](auto member) {
            auto& field = settings.*member;
            using Field = std::remove_reference_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, std::string>) {
                field = ini.readString(key.name, field);
            } else if constexpr (std::is_same_v<Field, bool>) {
                field = ini.readBoolean(key.name, field);
            } else if constexpr (std::is_same_v<Field, int>) {
                field =
                    inRange(ini.readInteger(key.name, field), KioskSettings{}.*member, key.range);
            } else if (const std::optional<TimeOfDay> time = ini.readTime(key.name)) {
                field = time;
            }
        },
        key.member);
}

std::string settingValueText(const SettingKey& key, const KioskSettings& settings) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& field = settings.*member;
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, std::string>) {
                return key.kind == K::Color ? colorText(field) : field;
            } else if constexpr (std::is_same_v<Field, bool>) {
                return booleanText(field);
            } else if constexpr (std::is_same_v<Field, int>) {
                return std::to_string(field);
            } else {
                return field ? formatIniTime(*field) : "-1";
            }
        },
        key.member);
}

std::string settingValueProblem(const SettingKey& key, const std::string& value) {
    switch (key.kind) {
        case K::Boolean: {
            const std::string upper = asciiUpper(value);
            return upper == "TRUE" || upper == "FALSE" ? "" : "is neither True nor False";
        }
        case K::Integer:
            return parseInteger(value) ? "" : "is not a whole number";
        case K::TimeOfDay:
            return parseIniTime(value) ? "" : "is not a time of day such as 3:00";
        case K::Color:
            return value.empty() || !colorText(value).empty() ? ""
                                                              : "is not a colour such as #FF8000";
        case K::Text:
            break;
    }
    return {};
}

}  // namespace plintor
