#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/GuardedWindow.h"
#include "core/app/UnattendedOperation.h"
#include "core/browser/PageZoom.h"
#include "core/config/KioskSettings.h"
#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/WidgetCss.h"

namespace plintor {

struct KioskState;
class KioskCounters;
class BlockedHint;
class FocusKeyboard;
class KeyboardPanel;
class KeyboardSystem;
class LoadErrorPanel;
class NavigationPanel;
class OfficeConverter;
class ProgressPanel;
class RestrictedBrowser;
class ReturnWarning;
class ShutdownPanel;
class WheelchairBar;

// The kiosk's only window: borderless over the whole primary monitor, from top to bottom the
// wheelchair spacer, the navigation panel, the page (or the shutdown panel in its place), the
// keyboard panel and the wheelchair bar; the return warning floats over the page's middle and
// the screensaver page covers it all when shown. The keyboard panel also comes and goes with the
// focus of a text field (FocusKeyboard). It lays the panels out and shows them; what
// the kiosk does with them is the controller's.
class KioskWindow final : public KioskSurfaces, public GuardedWindow {
public:
    struct Events {
        std::function<void()> firstShown;       // the window is on the screen for the first time
        std::function<void()> keyboardToggled;  // the keyboard panel was shown or hidden
        // The page's web process ended (`reason`) or stopped answering.
        std::function<void(const std::string& reason)> rendererEnded;
        std::function<void()> rendererUnresponsive;
    };

    // `keyboard` (may be null) serves the on-screen keyboard and the language buttons.
    // `counters` takes what the visitor's browser counts.
    KioskWindow(const KioskState& state, KioskCounters& counters, const OfficeConverter& converter,
                KeyboardSystem* keyboard, Events events);
    KioskWindow(const KioskWindow&) = delete;
    KioskWindow& operator=(const KioskWindow&) = delete;
    ~KioskWindow() override;

    GtkWindow* window() const { return GTK_WINDOW(m_window.get()); }
    RestrictedBrowser& browser() const { return *m_browser; }
    ShutdownPanel& shutdownPanel() const { return *m_shutdownPanel; }
    ReturnWarning& returnWarning() const { return *m_returnWarning; }
    // The home button's width in screen pixels.
    int homeButtonWidth() const;
    // The monitor's physical pixels per inch.
    int pixelsPerInch() const { return m_metrics.pixelsPerInch(); }
    // The window's X11 id, 0 before it is on the screen.
    unsigned long nativeId() const override;
    bool isVisible() const override;

    // What the configuration changes: panels shown, sizes, colours, hint, the URL buttons.
    void applySettings(const KioskSettings& settings, const std::vector<NavButton>& buttons);
    void show();

    void openNavButton(int number);  // 1 is the home button
    // The home page, as the idle return opens it.
    void goHome();
    void toggleWheelchairMode();
    void toggleShutdownPanel();
    void hideShutdownPanel();
    // The page zoom back to 100 %, its buttons with it.
    void resetZoom();

    // The surfaces the unattended operation shows and hides. Input reaches the activity record
    // in the middle of the input hooks' processing: what it takes away goes after it.
    void showReturnWarning(long long millisecondsLeft) override;
    void showVisitEndWarning(long long millisecondsLeft) override;
    void hideReturnWarning() override;
    bool keyboardShown() const override;
    void toggleKeyboard() override;
    void leaveWheelchairMode() override;
    // Covers the window with a browser that allows every address and takes no input.
    void showScreensaver(const std::string& address) override;
    void hideScreensaver() override;
    void updateTouchKeyboard() override;

private:
    static gboolean onCloseRequest(GtkWindow* window, gpointer self);
    static void onMapped(GtkWidget* widget, gpointer self);
    void logStart();
    void buildControls();
    // Shows or hides the keyboard panel (the page above it shrinks) and tells the controller.
    void setKeyboardShown(bool shown);
    GtkWidget* newSpacer();
    void connectNavigation();
    void showZoom();

    ScreenMetrics m_metrics;
    const KioskState& m_state;
    KioskCounters& m_counters;
    const OfficeConverter& m_converter;
    KeyboardSystem* m_keyboard;
    Events m_events;
    GObjectRef<GtkWidget> m_window;
    WidgetCss m_css{m_window.get()};
    GtkWidget* m_column = nullptr;  // the panels from top to bottom; owned by the window
    GtkWidget* m_screen = nullptr;  // the column with what floats over it
    GtkWidget* m_client = nullptr;  // the page or the shutdown panel in its place
    GtkWidget* m_wheelchairSpacer = nullptr;
    std::unique_ptr<NavigationPanel> m_navigation;
    std::unique_ptr<RestrictedBrowser> m_browser;
    std::unique_ptr<RestrictedBrowser> m_screensaver;
    std::unique_ptr<ShutdownPanel> m_shutdownPanel;
    std::unique_ptr<ReturnWarning> m_returnWarning;
    std::unique_ptr<KeyboardPanel> m_keyboardPanel;
    std::unique_ptr<ProgressPanel> m_progress;
    std::unique_ptr<WheelchairBar> m_wheelchairBar;
    std::unique_ptr<BlockedHint> m_hint;
    std::unique_ptr<LoadErrorPanel> m_loadError;
    int m_wheelchairPercent = 0;
    PageZoom m_zoom{PageZoom::NormalPercent, PageZoom::NormalPercent};  // bounds from the settings
    bool m_shown = false;
    Timeout m_announceShown;
    Timeout m_hideWarningLater;
    Timeout m_hideScreensaverLater;
    ScopedSignal m_closeRequest;
    ScopedSignal m_mapped;
    std::unique_ptr<FocusKeyboard> m_focusKeyboard;
};

}  // namespace plintor
