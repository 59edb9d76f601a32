#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "glib/GObjectRef.h"
#include "glib/Timeout.h"
#include "widgets/PictureButton.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// The notice before the idle return: a large box with the operator's text, whose "%d" counts
// the seconds down, and a "Continue" button. It ticks only while shown; hidden until started.
// Its owner lays it over the page's centre (it asks for its own width and centres itself in
// what it is given).
class ReturnWarning {
public:
    explicit ReturnWarning(const ScreenMetrics& metrics);
    ReturnWarning(const ReturnWarning&) = delete;
    ReturnWarning& operator=(const ReturnWarning&) = delete;
    ~ReturnWarning();

    GtkWidget* widget() const { return m_box.get(); }

    // Shows `text` counting down from `millisecondsLeft`.
    void start(const std::string& text, long long millisecondsLeft);
    void stop();

    // The countdown reached 0.
    void onExpired(std::function<void()> expired) { m_expired = std::move(expired); }
    // The visitor pressed "Continue".
    void onContinued(std::function<void()> continued) { m_continued = std::move(continued); }

private:
    void tick();

    GObjectRef<GtkWidget> m_box;
    GtkWidget* m_message;  // owned by the box
    WidgetCss m_css;
    PictureButton m_button;  // "Continue"; it takes no focus from the page
    std::string m_text;
    gint64 m_deadlineMicroseconds = 0;
    Timeout m_tick;
    std::function<void()> m_expired;
    std::function<void()> m_continued;
};

}  // namespace plintor
