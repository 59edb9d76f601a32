#include "core/config/SettingsLoader.h"

#include <algorithm>

#include "core/config/Settings.h"
#include "core/config/TIni.h"
#include "core/support/Clock.h"
#include "core/support/FileIO.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

void ReadButton(const TIni& ini, int number, bool& homeReplaced, IConfigReport& report) {
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
        NavButtons.front() = std::move(button);
        homeReplaced = true;
    } else {
        NavButtons.push_back(std::move(button));
    }
}

void ReadKeys(const TIni& ini, ISettingsTarget& window, IConfigReport& report) {
    Settings.Password = ini.ReadString("Password", Settings.Password);
    Settings.NavigationPanel = ini.ReadBoolean("NavigationPanel", window.NavigationPanelVisible());
    window.SetNavigationPanelVisible(Settings.NavigationPanel);
    Settings.TouchKeyboard = ini.ReadBoolean("TouchKeyboard", window.TouchButtonVisible());
    window.SetTouchButtonVisible(Settings.TouchKeyboard);
    Settings.TouchKeyboardOnTop = ini.ReadBoolean("TouchKeyboardOnTop", false);
    if (Settings.TouchKeyboardOnTop) {
        window.SetKeyboardPanelOnTop();
    }
    Settings.TouchKeyboardSize =
        std::clamp(ini.ReadInteger("TouchKeyboardSize", Settings.TouchKeyboardSize), 100, 200);
    Settings.TouchKeyboardLayout =
        ini.ReadString("TouchKeyboardLayout", Settings.TouchKeyboardLayout);
    Settings.DisplayAlwaysOn = ini.ReadBoolean("DisplayAlwaysOn", true);
    Settings.AutoReturn = ini.ReadInteger("AutoReturn", Settings.AutoReturn);
    if (Settings.AutoReturn < 1) {
        Settings.AutoReturn = 10;
    }
    Settings.AutoRestart = ini.ReadTime("AutoRestart", Settings.AutoRestart);
    Settings.DownloadPDF = ini.ReadBoolean("DownloadPDF", Settings.DownloadPDF);
    Settings.DownloadWord = ini.ReadBoolean("DownloadWord", Settings.DownloadWord);
    Settings.ConvertWordToPDF = ini.ReadBoolean("ConvertWordToPDF", Settings.ConvertWordToPDF);
    Settings.Wheelchair = std::clamp(ini.ReadInteger("Wheelchair", Settings.Wheelchair), 0, 70);
    bool homeReplaced = false;
    for (int number = FirstButtonNumber; number <= LastButtonNumber; ++number) {
        ReadButton(ini, number, homeReplaced, report);
    }
    Settings.MsgBlocked = ini.ReadString("MsgBlocked", "");
    window.SetBlockedHint(Settings.MsgBlocked);
    Settings.AutoCloseAll = ini.ReadBoolean("AutoCloseAll", Settings.AutoCloseAll);
    Settings.KillExplorer = ini.ReadBoolean("KillExplorer", Settings.KillExplorer);
    Settings.ProgressIndicator = ini.ReadBoolean("ProgressIndicator", false);
    if (Settings.ProgressIndicator) {
        window.UseProgressIndicator();
    }
    Settings.MarginRight = ini.ReadInteger("MarginRight", window.MarginRight());
    window.SetMarginRight(Settings.MarginRight);
    Settings.BackgroundColor = ini.ReadString("BackgroundColor", "");
    window.SetPanelColor(ParseHtmlColor(Settings.BackgroundColor, window.NavigationPanelColor()));
    Settings.Screensaver = ini.ReadString("Screensaver", Settings.Screensaver);
    Settings.DenyAllRequests = ini.ReadBoolean("DenyAllRequests", Settings.DenyAllRequests);
}

void ApplyLoadedValues(ISettingsTarget& window) {
    window.SetKeyboardPanelHeight(window.KeyboardPanelHeight() * Settings.TouchKeyboardSize / 100);
    window.SetTouchKeyboardTop(window.TouchKeyboardTop() * Settings.TouchKeyboardSize / 100);
    window.SetTouchKeyboardLayout(Settings.TouchKeyboardLayout);
    window.SetWheelchairBarVisible(Settings.Wheelchair != 0);
    if (Settings.DisplayAlwaysOn) {
        RequestedExecutionState |= ES_DISPLAY_REQUIRED;
    }
    if (Settings.AutoRestart != -1) {
        const TDateTime now = CurrentClock().Now();
        NextRestartTime = DateOf(now) + Settings.AutoRestart;
        if (now > NextRestartTime) {
            NextRestartTime += 1;
        }
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

std::string ButtonKey(int number, const char* part) {
    return "Button" + std::to_string(number) + part;
}

void LoadSettings(const std::string& iniFileName, ISettingsTarget& window, IConfigReport& report) {
    NavButtons = {DefaultHomeButton(window.PixelsPerInch())};
    RequestedExecutionState = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    try {
        const TIni ini(iniFileName, false);
        WarnOfNul(iniFileName, report);
        ReadKeys(ini, window, report);
    } catch (const std::exception& error) {
        report.LoadFailed(error);
    }
    ApplyLoadedValues(window);
}

}  // namespace plintor
