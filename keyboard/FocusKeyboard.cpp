#include "keyboard/FocusKeyboard.h"

#include "core/config/KioskSettings.h"

namespace plintor {

FocusKeyboard::FocusKeyboard(GtkWidget* window, Keyboard keyboard)
    : m_window(window),
      m_keyboard(std::move(keyboard)),
      m_rule(steadyClock()),
      m_touchScreen([this] { updateEnabled(); }),
      m_closeLater([this] {
          if (m_rule.closeDue(m_keyboard.shown())) {
              m_keyboard.show(false);
          }
      }),
      m_input(gtk_event_controller_legacy_new()) {
    // Before the page or a panel sees it, and never taken from them.
    gtk_event_controller_set_propagation_phase(m_input, GTK_PHASE_CAPTURE);
    gtk_widget_add_controller(m_window, m_input);
    m_inputSignal = ScopedSignal(m_input, "event", G_CALLBACK(&FocusKeyboard::onInput), this);
}

FocusKeyboard::~FocusKeyboard() {
    m_inputSignal.disconnect();
    gtk_widget_remove_controller(m_window, m_input);
    if (m_field != nullptr) {
        m_fieldEnter.disconnect();
        m_fieldLeave.disconnect();
        gtk_widget_remove_controller(m_field, m_fieldFocus);
    }
}

void FocusKeyboard::setMode(int keyboardOnFocus) {
    m_mode = keyboardOnFocus;
    updateEnabled();
}

void FocusKeyboard::updateEnabled() {
    m_rule.setEnabled(m_mode == KeyboardOnFocusAlways ||
                      (m_mode == KeyboardOnFocusOnTouchScreen && m_touchScreen.present()));
}

void FocusKeyboard::watchField(GtkWidget* field) {
    m_field = field;
    m_fieldFocus = gtk_event_controller_focus_new();
    gtk_widget_add_controller(field, m_fieldFocus);
    m_fieldEnter =
        ScopedSignal(m_fieldFocus, "enter", G_CALLBACK(&FocusKeyboard::onFieldEnter), this);
    m_fieldLeave =
        ScopedSignal(m_fieldFocus, "leave", G_CALLBACK(&FocusKeyboard::onFieldLeave), this);
}

void FocusKeyboard::pageFieldFocused(bool focused) {
    if (focused) {
        fieldFocused(FocusKeyboardRule::Field::Page);
    } else {
        closeLaterIf(m_rule.fieldLeft(FocusKeyboardRule::Field::Page, m_keyboard.shown()));
    }
}

void FocusKeyboard::pageReplaced() {
    closeLaterIf(m_rule.pageReplaced(m_keyboard.shown()));
}

void FocusKeyboard::keyboardToggled() {
    m_closeLater.stop();
    m_rule.keyboardToggled();
}

void FocusKeyboard::fieldFocused(FocusKeyboardRule::Field field) {
    m_closeLater.stop();
    if (m_rule.fieldFocused(field, m_keyboard.shown())) {
        m_keyboard.show(true);
    }
}

void FocusKeyboard::closeLaterIf(bool due) {
    if (due) {
        m_closeLater.start(FocusKeyboardRule::CloseGrace.count());
    }
}

// A press and its release both count: a touch screen's tap focuses a field when the finger
// lifts, a mouse button when it goes down.
gboolean FocusKeyboard::onInput(GtkEventControllerLegacy*, GdkEvent* event, gpointer self) {
    switch (gdk_event_get_event_type(event)) {
        case GDK_BUTTON_PRESS:
        case GDK_BUTTON_RELEASE:
        case GDK_TOUCH_BEGIN:
        case GDK_TOUCH_END:
        case GDK_KEY_PRESS:
            static_cast<FocusKeyboard*>(self)->m_rule.visitorInput();
            break;
        default:
            break;
    }
    return FALSE;
}

void FocusKeyboard::onFieldEnter(GtkEventControllerFocus*, gpointer self) {
    static_cast<FocusKeyboard*>(self)->fieldFocused(FocusKeyboardRule::Field::Kiosk);
}

void FocusKeyboard::onFieldLeave(GtkEventControllerFocus*, gpointer self) {
    auto* keyboard = static_cast<FocusKeyboard*>(self);
    keyboard->closeLaterIf(
        keyboard->m_rule.fieldLeft(FocusKeyboardRule::Field::Kiosk, keyboard->m_keyboard.shown()));
}

}  // namespace plintor
