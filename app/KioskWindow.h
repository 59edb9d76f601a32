#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "core/config/KioskSettings.h"
#include "widgets/ScreenMetrics.h"

class QAction;

namespace plintor {

struct KioskState;
class KeyboardSystem;
class KeyboardPanel;
class NavigationPanel;
class OfficeConverter;
class RestrictedBrowser;
class ReturnWarning;
class ShutdownPanel;
class WheelchairBar;

// The kiosk's only window: borderless over the whole primary screen, from top to bottom the
// wheelchair spacer, the navigation panel, the page (or the shutdown panel in its place), the
// keyboard panel and the wheelchair bar; the screensaver page covers it all when shown. It lays
// the panels out and shows them; what the kiosk does with them is the controller's.
class KioskWindow final : public QWidget {
    Q_OBJECT
public:
    // `keyboard` (may be null) serves the on-screen keyboard and the language buttons.
    KioskWindow(const KioskState& state, const OfficeConverter& converter,
                KeyboardSystem* keyboard);
    ~KioskWindow() override;

    RestrictedBrowser& browser() const { return *m_browser; }
    ShutdownPanel& shutdownPanel() const { return *m_shutdownPanel; }
    ReturnWarning& returnWarning() const { return *m_returnWarning; }
    // The home button's width in screen pixels.
    int homeButtonWidth() const;
    // The screen's physical pixels per inch.
    int pixelsPerInch() const { return m_metrics.pixelsPerInch(); }

    // What the configuration changes: panels shown, sizes, colours, hint, the URL buttons.
    void applySettings(const KioskSettings& settings, const std::vector<NavButton>& buttons);

    void openNavButton(int number);  // 1 is the home button
    void toggleWheelchairMode();
    void leaveWheelchairMode();
    void toggleKeyboard();
    bool keyboardShown() const;
    void updateTouchKeyboard();
    void toggleShutdownPanel();
    void hideShutdownPanel();
    // Covers the window with a browser that allows every address and takes no input.
    void showScreensaver(const std::string& address);
    void hideScreensaver();

signals:
    // The window was shown for the first time.
    void firstShown();
    // The keyboard panel was shown or hidden.
    void keyboardToggled();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void logStart();
    void buildControls();
    void colourPanels(const QColor& colour);

    ScreenMetrics m_metrics;
    const KioskState& m_state;
    const OfficeConverter& m_converter;
    KeyboardSystem* m_keyboard;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_wheelchair = nullptr;
    QAction* m_touch = nullptr;
    QWidget* m_wheelchairSpacer = nullptr;
    NavigationPanel* m_navigation = nullptr;
    RestrictedBrowser* m_browser = nullptr;
    RestrictedBrowser* m_screensaver = nullptr;
    ShutdownPanel* m_shutdownPanel = nullptr;
    ReturnWarning* m_returnWarning = nullptr;
    KeyboardPanel* m_keyboardPanel = nullptr;
    QWidget* m_progress = nullptr;
    WheelchairBar* m_wheelchairBar = nullptr;
    int m_wheelchairPercent = 0;
    bool m_shown = false;
};

}  // namespace plintor
