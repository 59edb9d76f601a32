#pragma once

#include <gtk/gtk.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/app/PasswordAttempts.h"
#include "glib/GObjectRef.h"
#include "glib/Timeout.h"
#include "widgets/Glyph.h"
#include "widgets/PictureButton.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// The operator's way out: a centred box with a password field and the four session actions,
// shown in the page's place. It checks the password itself, makes a guesser wait longer after
// each wrong entry, logs wrong entries and the actions it is about to take, and closes itself
// 15 seconds after the last key. Hidden until opened.
class ShutdownPanel {
public:
    enum class Action { ShutDown, Restart, LogOff, Exit };
    static constexpr int IdleCloseMs = 15000;

    // `images`: of shut down, restart, log off and exit, in that order.
    ShutdownPanel(const ScreenMetrics& metrics, std::array<Glyph, 4> images);
    ShutdownPanel(const ShutdownPanel&) = delete;
    ShutdownPanel& operator=(const ShutdownPanel&) = delete;
    ~ShutdownPanel();

    GtkWidget* widget() const { return m_panel.get(); }
    GtkWidget* passwordField() const { return m_password; }

    void setPassword(const std::string& password) { m_expected = password; }
    // Shows `heading` and an empty password field with the focus.
    void openPanel(const std::string& heading);
    void closePanel();
    bool isOpen() const;
    // A key while it is open keeps it open for another 15 seconds; the window calls this for
    // every key it sees.
    void keyPressed();

    // An action was chosen with the right password.
    void onConfirmed(std::function<void(Action)> confirmed) { m_confirmed = std::move(confirmed); }
    // The panel closed (by itself or when asked).
    void onClosed(std::function<void()> closed) { m_closed = std::move(closed); }

private:
    void choose(Action action);
    void tryPassword(Action action);
    void showWait(std::chrono::milliseconds wait);
    void focusPassword();

    GObjectRef<GtkWidget> m_panel;
    GtkWidget* m_box;  // the centred box; it and the rest are owned by the panel
    GtkWidget* m_heading;
    GtkWidget* m_password;
    WidgetCss m_css;
    std::array<std::unique_ptr<PictureButton>, 4> m_buttons;
    std::string m_expected;
    std::string m_caption;  // the heading the panel opened with
    PasswordAttempts m_attempts;
    Timeout m_idle;
    Timeout m_waitOver;  // runs only while a wait is shown
    std::function<void(Action)> m_confirmed;
    std::function<void()> m_closed;
};

}  // namespace plintor
