#include "core/config/SettingsLoader.h"

#include "core/config/IniReader.h"
#include "core/config/SettingsKeys.h"
#include "core/support/FileIO.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

void readButton(const IniReader& ini, int number, std::vector<NavButton>& buttons,
                bool& homeReplaced, ConfigReport& report) {
    const bool mentioned = ini.hasKey(buttonKey(number, "Width")) ||
                           ini.hasKey(buttonKey(number, "URL")) ||
                           ini.hasKey(buttonKey(number, "Caption"));
    const int width = ini.readInteger(buttonKey(number, "Width"), 0);
    const std::string url(trim(ini.readString(buttonKey(number, "URL"))));
    if (width <= 0 || url.empty()) {
        if (mentioned) {
            report.buttonDropped(
                number, width <= 0 ? "its width is not a positive number" : "its address is empty");
        }
        return;
    }
    NavButton button{ini.readString(buttonKey(number, "Caption")), width, url};
    if (!homeReplaced) {
        buttons.front() = std::move(button);
        homeReplaced = true;
    } else {
        buttons.push_back(std::move(button));
    }
}

// Everything after a NUL character is ignored, which an editor does not show.
void warnOfNul(const std::string& iniFileName, ConfigReport& report) {
    const std::string text = decodeIniText(readFileBytes(iniFileName), std::nullopt);
    const std::size_t nul = text.find('\0');
    if (nul == std::string::npos) {
        return;
    }
    const std::size_t line = decodeIniLines(text.substr(0, nul) + "x", TextEncoding::Utf8).size();
    report.warn(iniFileName + " holds a NUL character in line " + std::to_string(line) +
                "; nothing from there on is read");
}

}  // namespace

LoadedSettings loadSettings(const std::string& iniFileName, int pixelsPerInch,
                            ConfigReport& report) {
    LoadedSettings loaded{KioskSettings{}, {defaultHomeButton(pixelsPerInch)}};
    try {
        const IniReader ini = IniReader::fromFile(iniFileName);
        warnOfNul(iniFileName, report);
        for (const SettingKey& key : settingKeys()) {
            readSettingKey(ini, key, loaded.settings);
        }
        bool homeReplaced = false;
        for (int number = FirstButtonNumber; number <= LastButtonNumber; ++number) {
            readButton(ini, number, loaded.buttons, homeReplaced, report);
        }
    } catch (const std::exception& error) {
        report.loadFailed(error);
    }
    return loaded;
}

}  // namespace plintor
