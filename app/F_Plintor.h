#pragma once

#include <QTimer>
#include <QWidget>

#include "core/app/KioskMessage.h"
#include "core/app/UnattendedOperation.h"
#include "core/config/ISettingsTarget.h"
#include "widgets/ScreenMetrics.h"

class QAction;
class QKeyEvent;
class QWebEngineProfile;

namespace plintor {

class IDesktopControl;
class IKeyboardSystem;
class TKeyboardPanel;
class TNavigationPanel;
class TSafeWebBrowser;
class TShutdownPanel;
class TWheelchairBar;

// The kiosk's only window: borderless over the whole primary screen, from top to bottom the
// wheelchair spacer, the navigation panel, the page (or the shutdown panel in its place), the
// keyboard panel and the wheelchair bar.
class TFPlintor final : public QWidget, public ISettingsTarget, private IUnattendedHost {
    Q_OBJECT
public:
    // `desktop` (may be null when there is no display to lock) keeps the screen the kiosk's;
    // `keyboard` (may be null) serves the on-screen keyboard and the language buttons.
    TFPlintor(QWebEngineProfile* profile, IDesktopControl* desktop, IKeyboardSystem* keyboard);
    ~TFPlintor() override;

    void HandleMessage(const TKioskMessage& message);
    // The desktop control, when it comes after the window (a display that was late).
    void SetDesktopControl(IDesktopControl* desktop) { FDesktop = desktop; }
    void DisableTimers();
    TSafeWebBrowser* WebBrowser() const { return FWebBrowser; }

    // What loading the configuration changes.
    int PixelsPerInch() const override;
    bool NavigationPanelVisible() const override;
    void SetNavigationPanelVisible(bool visible) override;
    bool TouchButtonVisible() const override;
    void SetTouchButtonVisible(bool visible) override;
    void SetKeyboardPanelOnTop() override;
    int KeyboardPanelHeight() const override;
    void SetKeyboardPanelHeight(int height) override;
    int TouchKeyboardTop() const override;
    void SetTouchKeyboardTop(int top) override;
    void SetTouchKeyboardLayout(const std::string& layoutName) override;
    void SetWheelchairBarVisible(bool visible) override;
    void SetBlockedHint(const std::string& message) override;
    void UseProgressIndicator() override;
    int MarginRight() const override;
    void SetMarginRight(int pixels) override;
    TColor NavigationPanelColor() const override;
    void SetPanelColor(TColor color) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LogStart();
    QAction* NewAction(const QString& caption, const QPixmap& glyph, void (TFPlintor::*handler)());
    void BuildActions();
    void BuildControls();
    QWidget* BuildProgressPanel();
    void LoadConfiguration();
    void EnterSafeWebBrowserMode();

    void PSBButtOnClick(int tag);
    void GoHome() override;
    void ABackExecute();
    void AForwardExecute();
    void AWheelchairExecute();
    void LeaveWheelchairMode() override;
    void ATouchExecute();

    // The unattended operation's view of the window and the system.
    bool KeyboardShown() const override;
    void ToggleKeyboard() override;
    void ShowScreensaver(const std::string& address) override;
    void UpdateTouchKeyboard() override;
    void GuardScreen() override;
    bool WindowsRestart() override;
    void QuitApplication() override;
    void CloseForeignWindows() override;
    bool StopShell() override;
    void CreateScreensaver();
    void AppEventsDeactivate(Qt::ApplicationState state);

    bool FormShortCut(const QKeyEvent& key);
    void ToggleShutdownPanel();
    void HideShutdownPanel();
    void AShutDownExecute();
    void ARestartExecute();
    void ALogOffExecute();
    void AExitExecute();
    void TimerShutdownTimer();

    void WmStartHome();
    void WmRemoteQuit(std::int32_t wParam, std::int32_t lParam);
    void WmHideScreensaver();
    bool ApplyKeyLock(const QKeyEvent& key);

    TScreenMetrics FMetrics;
    QWebEngineProfile* FProfile;
    IDesktopControl* FDesktop;
    IKeyboardSystem* FKeyboard;
    QAction* ABack = nullptr;
    QAction* AForward = nullptr;
    QAction* AShutDown = nullptr;
    QAction* ARestart = nullptr;
    QAction* ALogOff = nullptr;
    QAction* AExit = nullptr;
    QAction* AWheelchair = nullptr;
    QAction* ATouch = nullptr;
    QWidget* PWheelchairTop = nullptr;
    TNavigationPanel* PNavigation = nullptr;
    TSafeWebBrowser* FWebBrowser = nullptr;
    TSafeWebBrowser* ScreensaverWB = nullptr;
    TShutdownPanel* PShutdown1 = nullptr;
    TKeyboardPanel* PKeyboard = nullptr;
    QWidget* PProgress = nullptr;
    TWheelchairBar* PWheelchair = nullptr;
    QTimer Timer1;
    QTimer Timer2;
    QTimer TimerShutdown;
    TUnattendedOperation FUnattended{*this};
};

}  // namespace plintor
