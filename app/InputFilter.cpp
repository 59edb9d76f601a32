#include "app/InputFilter.h"

#include "app/KioskWindow.h"
#include "app/ShutdownPanel.h"
#include "browser/RestrictedBrowser.h"
#include "core/lockdown/InputActivity.h"
#include "core/lockdown/KeyTable.h"
#include "platform/InputHooks.h"

namespace plintor {

InputFilter::InputFilter(InputActivity& activity, const InputHooks& hooks, KioskWindow& window)
    : m_activity(activity),
      m_hooks(hooks),
      m_window(window),
      m_keys(gtk_event_controller_key_new()),
      m_pointer(gtk_event_controller_legacy_new()) {
    for (GtkEventController* controller : {m_keys, m_pointer}) {
        gtk_event_controller_set_propagation_phase(controller, GTK_PHASE_CAPTURE);
        gtk_widget_add_controller(GTK_WIDGET(window.window()), controller);
    }
    g_signal_connect(m_keys, "key-pressed", G_CALLBACK(&InputFilter::keyPressed), this);
    g_signal_connect(m_pointer, "event", G_CALLBACK(&InputFilter::pointerEvent), this);
}

InputFilter::~InputFilter() {
    for (GtkEventController* controller : {m_keys, m_pointer}) {
        g_signal_handlers_disconnect_by_data(controller, this);
        gtk_widget_remove_controller(GTK_WIDGET(m_window.window()), controller);
    }
}

gboolean InputFilter::keyPressed(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state,
                                 gpointer self) {
    auto* filter = static_cast<InputFilter*>(self);
    filter->m_activity.recordTouch();
    return filter->swallowed(keyval, state) || filter->kioskKey(keyval, state);
}

gboolean InputFilter::pointerEvent(GtkEventControllerLegacy*, GdkEvent* event, gpointer self) {
    InputActivity& activity = static_cast<InputFilter*>(self)->m_activity;
    switch (gdk_event_get_event_type(event)) {
        case GDK_MOTION_NOTIFY:
            activity.record();
            break;
        case GDK_BUTTON_PRESS:
        case GDK_SCROLL:
        case GDK_TOUCH_BEGIN:
            activity.recordTouch();
            break;
        default:
            break;
    }
    return FALSE;
}

// The same table the display-wide lock applies, for keys that reach the program anyway. GDK's
// key values are X11's keysyms.
bool InputFilter::swallowed(guint keyval, GdkModifierType state) const {
    return swallowKey(m_hooks.virtualKeyOfNativeKey(keyval), (state & GDK_ALT_MASK) != 0,
                      (state & GDK_CONTROL_MASK) != 0);
}

bool InputFilter::kioskKey(guint keyval, GdkModifierType state) {
    m_window.shutdownPanel().keyPressed();
    if ((state & GDK_ALT_MASK) != 0) {
        return false;
    }
    switch (keyval) {
        case GDK_KEY_Escape:
            m_window.hideShutdownPanel();
            return true;
        case GDK_KEY_F5:
            m_window.browser().refresh();
            return true;
        case GDK_KEY_F4:
            if ((state & GDK_CONTROL_MASK) != 0 && (state & GDK_SHIFT_MASK) != 0) {
                m_window.toggleShutdownPanel();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace plintor
