#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/config/AwakeRequest.h"
#include "core/support/LocalTime.h"

namespace plintor {

// When the on-screen keyboard opens by itself as a text field takes the focus.
constexpr int KeyboardOnFocusNever = 0;
constexpr int KeyboardOnFocusOnTouchScreen = 1;
constexpr int KeyboardOnFocusAlways = 2;

// The operator's configuration: one field per configuration key, named like the key, with the
// key's default. A plain value: loading produces it (see loadSettings), the kiosk applies it.
struct KioskSettings {
    std::string password = "7395";
    bool navigationPanel = true;
    bool touchKeyboard = true;
    bool touchKeyboardOnTop = false;
    int touchKeyboardSize = 100;  // percent, 100..200
    std::string touchKeyboardLayout = "Standard";
    bool displayAlwaysOn = true;
    int autoReturn = 10;                   // minutes, at least 1
    std::optional<TimeOfDay> autoRestart;  // none when off
    bool downloadPdf = false;
    bool downloadWord = false;
    bool convertWordToPdf = false;
    int wheelchair = 0;  // percent of the client height, 0..70
    std::string msgBlocked;
    bool autoCloseAll = false;
    bool killExplorer = true;
    bool progressIndicator = false;
    int marginRight = 0;
    std::string backgroundColor;  // as configured; empty keeps the panels' own colour
    std::string screensaver;
    // Beyond the historical keys: the deny list also stops a page's images, scripts, requests
    // and workers, not only its navigations.
    bool denyAllRequests = true;
    // A kiosk that runs for months: each visitor starts clean, is warned before the return, and
    // a page that grows too big is started afresh.
    bool clearSessionOnReturn = true;
    int returnWarning = 30;  // seconds before the idle return, 0 for none
    std::string msgReturnWarning = "Are you still there? This page returns to the start in %d s";
    int memoryLimitMb = 0;  // the kiosk's processes together, 0 for no limit
    // For the visitor at a touch screen: the keyboard comes with a text field, the page can be
    // zoomed, answers stay long enough to be read, a failed page recovers by itself.
    int keyboardOnFocus = KeyboardOnFocusOnTouchScreen;
    bool zoomButtons = false;
    int zoomMin = 50;   // percent
    int zoomMax = 300;  // percent
    bool pinchZoom = true;
    int blockedHintSeconds = 8;
    std::string msgLoadError = "This page cannot be shown at the moment.";
    int retrySeconds = 30;
    int sessionMinutes = 0;  // 0 for no limit
    std::string msgSessionEnd = "Your time at this terminal ends in %d s";
    // For fleets: node_exporter's textfile collector reads the kiosk's metrics from this file;
    // empty writes none.
    std::string metricsFile;

    bool operator==(const KioskSettings&) const = default;
};

// One URL button of the navigation panel; the first one is the home button.
struct NavButton {
    std::string caption;  // "#" shows the home icon alone, empty shows the URL
    int width = 0;        // pixels, not scaled
    std::string url;

    bool operator==(const NavButton&) const = default;
};

constexpr int DefaultButtonWidth = 120;  // at 96 pixels per inch
constexpr const char* DefaultHomePage = "about:blank";
constexpr int FirstButtonNumber = 1;
constexpr int LastButtonNumber = 99;

// The home entry that stands when no button is configured.
NavButton defaultHomeButton(int pixelsPerInch);

// What the kiosk asks the power layer to keep awake: always the system, the display unless
// DisplayAlwaysOn is off.
AwakeRequest executionStateOf(const KioskSettings& settings);

// The first moment at `timeOfDay` that is not before `now`: today's, or tomorrow's when today's
// has passed.
LocalTime nextRestartAfter(LocalTime now, TimeOfDay timeOfDay);

}  // namespace plintor
