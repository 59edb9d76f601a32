#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "core/config/Settings.h"
#include "widgets/ScreenMetrics.h"

class QAction;
class QWebEngineProfile;

namespace plintor {

struct TKioskState;
class IKeyboardSystem;
class TKeyboardPanel;
class TNavigationPanel;
class TOfficeConverter;
class TSafeWebBrowser;
class TShutdownPanel;
class TWheelchairBar;

// The kiosk's only window: borderless over the whole primary screen, from top to bottom the
// wheelchair spacer, the navigation panel, the page (or the shutdown panel in its place), the
// keyboard panel and the wheelchair bar; the screensaver page covers it all when shown. It lays
// the panels out and shows them; what the kiosk does with them is the controller's.
class TKioskWindow final : public QWidget {
    Q_OBJECT
public:
    // `keyboard` (may be null) serves the on-screen keyboard and the language buttons.
    TKioskWindow(QWebEngineProfile* profile, const TKioskState& state,
                 const TOfficeConverter& converter, IKeyboardSystem* keyboard);
    ~TKioskWindow() override;

    TSafeWebBrowser& Browser() const { return *FBrowser; }
    TShutdownPanel& ShutdownPanel() const { return *FShutdownPanel; }
    // The home button's width in screen pixels.
    int HomeButtonWidth() const;
    // The screen's physical pixels per inch.
    int PixelsPerInch() const { return FMetrics.PixelsPerInch(); }

    // What the configuration changes: panels shown, sizes, colours, hint, the URL buttons.
    void ApplySettings(const TSettings& settings, const std::vector<TNavButton>& buttons);

    void OpenNavButton(int number);  // 1 is the home button
    void ToggleWheelchairMode();
    void LeaveWheelchairMode();
    void ToggleKeyboard();
    bool KeyboardShown() const;
    void UpdateTouchKeyboard();
    void ToggleShutdownPanel();
    void HideShutdownPanel();
    // Covers the window with a browser that allows every address and takes no input.
    void ShowScreensaver(const std::string& address);
    void HideScreensaver();

signals:
    // The window was shown for the first time.
    void firstShown();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LogStart();
    void BuildControls();
    QWidget* BuildProgressPanel();
    void ColourPanels(const QColor& colour);

    TScreenMetrics FMetrics;
    QWebEngineProfile* FProfile;
    const TKioskState& FState;
    const TOfficeConverter& FConverter;
    IKeyboardSystem* FKeyboard;
    QAction* FBack = nullptr;
    QAction* FForward = nullptr;
    QAction* FWheelchair = nullptr;
    QAction* FTouch = nullptr;
    QWidget* FWheelchairSpacer = nullptr;
    TNavigationPanel* FNavigation = nullptr;
    TSafeWebBrowser* FBrowser = nullptr;
    TSafeWebBrowser* FScreensaver = nullptr;
    TShutdownPanel* FShutdownPanel = nullptr;
    TKeyboardPanel* FKeyboardPanel = nullptr;
    QWidget* FProgress = nullptr;
    TWheelchairBar* FWheelchairBar = nullptr;
    int FWheelchairPercent = 0;
    bool FShown = false;
};

}  // namespace plintor
