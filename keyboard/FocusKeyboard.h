#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "core/keyboard/FocusKeyboardRule.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"
#include "keyboard/TouchScreenWatch.h"

namespace plintor {

// Shows and hides the on-screen keyboard as text fields take and lose the focus, by the rule
// of FocusKeyboardRule, when KeyboardOnFocus asks for it (always, or while the seat has a touch
// screen). It hears the visitor's input in the window before anything else does; the page's
// fields are reported to it, the kiosk's own it watches itself.
class FocusKeyboard {
public:
    struct Keyboard {
        std::function<bool()> shown;
        std::function<void(bool shown)> show;
    };

    // `window` and the fields watched must outlive it.
    FocusKeyboard(GtkWidget* window, Keyboard keyboard);
    FocusKeyboard(const FocusKeyboard&) = delete;
    FocusKeyboard& operator=(const FocusKeyboard&) = delete;
    ~FocusKeyboard();

    // KeyboardOnFocus: KeyboardOnFocusNever, KeyboardOnFocusOnTouchScreen or KeyboardOnFocusAlways.
    void setMode(int keyboardOnFocus);
    // A text field of the kiosk's own (the shutdown panel's password).
    void watchField(GtkWidget* field);
    void pageFieldFocused(bool focused);
    void pageReplaced();
    // The keyboard's button or the idle return showed or hid it.
    void keyboardToggled();

private:
    static gboolean onInput(GtkEventControllerLegacy* controller, GdkEvent* event, gpointer self);
    static void onFieldEnter(GtkEventControllerFocus* controller, gpointer self);
    static void onFieldLeave(GtkEventControllerFocus* controller, gpointer self);
    void fieldFocused(FocusKeyboardRule::Field field);
    void closeLaterIf(bool due);
    void updateEnabled();

    GtkWidget* m_window;
    Keyboard m_keyboard;
    FocusKeyboardRule m_rule;
    TouchScreenWatch m_touchScreen;
    int m_mode = 0;
    Timeout m_closeLater;
    GtkEventController* m_input;  // owned by the window
    ScopedSignal m_inputSignal;
    GtkWidget* m_field = nullptr;
    GtkEventController* m_fieldFocus = nullptr;  // owned by the field
    ScopedSignal m_fieldEnter;
    ScopedSignal m_fieldLeave;
};

}  // namespace plintor
