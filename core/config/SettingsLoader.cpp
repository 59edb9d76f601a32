#include "core/config/SettingsLoader.h"

#include "core/config/SettingsKeys.h"
#include "core/config/TIni.h"
#include "core/support/FileIO.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

void ReadButton(const TIni& ini, int number, std::vector<TNavButton>& buttons, bool& homeReplaced,
                IConfigReport& report) {
    const bool mentioned = ini.HasKey(ButtonKey(number, "Width")) ||
                           ini.HasKey(ButtonKey(number, "URL")) ||
                           ini.HasKey(ButtonKey(number, "Caption"));
    const int width = ini.ReadInteger(ButtonKey(number, "Width"), 0);
    const std::string url(Trim(ini.ReadString(ButtonKey(number, "URL"))));
    if (width <= 0 || url.empty()) {
        if (mentioned) {
            report.ButtonDropped(
                number, width <= 0 ? "its width is not a positive number" : "its address is empty");
        }
        return;
    }
    TNavButton button{ini.ReadString(ButtonKey(number, "Caption")), width, url};
    if (!homeReplaced) {
        buttons.front() = std::move(button);
        homeReplaced = true;
    } else {
        buttons.push_back(std::move(button));
    }
}

// Everything after a NUL character is ignored, which an editor does not show.
void WarnOfNul(const std::string& iniFileName, IConfigReport& report) {
    const std::string text = DecodeIniText(ReadFileBytes(iniFileName), std::nullopt);
    const std::size_t nul = text.find('\0');
    if (nul == std::string::npos) {
        return;
    }
    const std::size_t line = DecodeIniLines(text.substr(0, nul) + "x", TTextEncoding::Utf8).size();
    report.Warn(iniFileName + " holds a NUL character in line " + std::to_string(line) +
                "; nothing from there on is read");
}

}  // namespace

TLoadedSettings LoadSettings(const std::string& iniFileName, int pixelsPerInch,
                             IConfigReport& report) {
    TLoadedSettings loaded{TSettings{}, {DefaultHomeButton(pixelsPerInch)}};
    try {
        const TIni ini(iniFileName, false);
        WarnOfNul(iniFileName, report);
        for (const TSettingKey& key : SettingKeys()) {
            ReadSettingKey(ini, key, loaded.Settings);
        }
        bool homeReplaced = false;
        for (int number = FirstButtonNumber; number <= LastButtonNumber; ++number) {
            ReadButton(ini, number, loaded.Buttons, homeReplaced, report);
        }
    } catch (const std::exception& error) {
        report.LoadFailed(error);
    }
    return loaded;
}

}  // namespace plintor
