#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/support/DateTime.h"

namespace plintor {

// The operator's configuration: one field per configuration key, named like the key, with the
// key's default. A plain value: loading produces it (see LoadSettings), the kiosk applies it.
struct TSettings {
    std::string Password = "7395";
    bool NavigationPanel = true;
    bool TouchKeyboard = true;
    bool TouchKeyboardOnTop = false;
    int TouchKeyboardSize = 100;  // percent, 100..200
    std::string TouchKeyboardLayout = "Standard";
    bool DisplayAlwaysOn = true;
    int AutoReturn = 10;         // minutes, at least 1
    TDateTime AutoRestart = -1;  // time of day, -1 when off
    bool DownloadPDF = false;
    bool DownloadWord = false;
    bool ConvertWordToPDF = false;
    int Wheelchair = 0;  // percent of the client height, 0..70
    std::string MsgBlocked;
    bool AutoCloseAll = false;
    bool KillExplorer = true;
    bool ProgressIndicator = false;
    int MarginRight = 0;
    std::string BackgroundColor;  // as configured; empty keeps the panels' own colour
    std::string Screensaver;
    // Beyond the historical keys: the deny list also stops a page's images, scripts, requests
    // and workers, not only its navigations.
    bool DenyAllRequests = true;

    bool operator==(const TSettings&) const = default;
};

// One URL button of the navigation panel; the first one is the home button.
struct TNavButton {
    std::string Caption;  // "#" shows the home icon alone, empty shows the URL
    int Width = 0;        // pixels, not scaled
    std::string URL;

    bool operator==(const TNavButton&) const = default;
};

constexpr int DefaultButtonWidth = 120;  // at 96 pixels per inch
constexpr const char* DefaultHomePage = "about:blank";
constexpr int FirstButtonNumber = 1;
constexpr int LastButtonNumber = 99;

// The home entry that stands when no button is configured.
TNavButton DefaultHomeButton(int pixelsPerInch);

// Execution-state flags, as the power layer takes them.
constexpr std::uint32_t ES_SYSTEM_REQUIRED = 0x00000001;
constexpr std::uint32_t ES_DISPLAY_REQUIRED = 0x00000002;
constexpr std::uint32_t ES_CONTINUOUS = 0x80000000;

// What the kiosk asks the power layer to keep awake: always the system, the display unless
// DisplayAlwaysOn is off.
std::uint32_t ExecutionStateOf(const TSettings& settings);

// The first moment at `timeOfDay` (a fraction of a day) that is not before `now`: today's, or
// tomorrow's when today's has passed.
TDateTime NextRestartAfter(TDateTime now, TDateTime timeOfDay);

}  // namespace plintor
