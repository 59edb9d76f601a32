#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"
#include "widgets/Glyph.h"
#include "widgets/PictureButton.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// The answer to a blocked address or download: a large panel centred over the page with the
// blocked sign, the operator's message and the buttons "Back" (only where the page has a
// history to go back to) and "Home". It goes when the visitor touches it, or by itself after
// its time. It is the kiosk's own, never the page's, and it never takes the keyboard focus: a
// visitor typing into the page goes on typing. Its owner lays it over the page.
class BlockedHint {
public:
    static constexpr int DefaultSeconds = 8;

    explicit BlockedHint(const ScreenMetrics& metrics);
    BlockedHint(const BlockedHint&) = delete;
    BlockedHint& operator=(const BlockedHint&) = delete;
    ~BlockedHint();

    GtkWidget* widget() const { return m_panel.get(); }

    // An empty message keeps the current one; a null image keeps the current image.
    void setContent(const std::string& message, const Glyph& image);
    // How long the panel stays untouched.
    void setSeconds(int seconds) { m_seconds = seconds; }
    void onBack(std::function<void()> back) { m_back = std::move(back); }
    void onHome(std::function<void()> home) { m_home = std::move(home); }

    // Shows the panel afresh for its whole time.
    void show(bool canGoBack);
    void hide();
    bool showingHint() const;

private:
    static void onReleased(GtkGestureClick* gesture, int presses, double x, double y,
                           gpointer self);
    void buildButton(PictureButton& button, const char* caption, const ScreenMetrics& metrics,
                     std::function<void()>& action);

    GObjectRef<GtkWidget> m_panel;
    GtkWidget* m_image;  // owned by the panel
    GtkWidget* m_text;
    WidgetCss m_css;
    PictureButton m_backButton;
    PictureButton m_homeButton;
    ScopedSignal m_touched;
    Timeout m_hideTimer;
    int m_seconds = DefaultSeconds;
    std::function<void()> m_back;
    std::function<void()> m_home;
};

}  // namespace plintor
