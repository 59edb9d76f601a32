#pragma once

#include <gtk/gtk.h>

namespace plintor {

class InputHooks;
class InputActivity;
class KioskWindow;

// Every input event of the window passes here first (the capture phase, before the page or a
// panel sees it): each key, pointer and touch input counts as the visitor's activity (also
// where the display-wide hooks could not be installed), keys the lockdown swallows go nowhere,
// and the kiosk's own keys act: Control+Shift+F4 opens and closes the shutdown panel, Escape
// closes it, F5 reloads the page. The window owns the controllers.
class InputFilter {
public:
    InputFilter(InputActivity& activity, const InputHooks& hooks, KioskWindow& window);
    InputFilter(const InputFilter&) = delete;
    InputFilter& operator=(const InputFilter&) = delete;
    ~InputFilter();

private:
    static gboolean keyPressed(GtkEventControllerKey* controller, guint keyval, guint keycode,
                               GdkModifierType state, gpointer self);
    static gboolean pointerEvent(GtkEventControllerLegacy* controller, GdkEvent* event,
                                 gpointer self);
    bool swallowed(guint keyval, GdkModifierType state) const;
    bool kioskKey(guint keyval, GdkModifierType state);

    InputActivity& m_activity;
    const InputHooks& m_hooks;
    KioskWindow& m_window;
    GtkEventController* m_keys;     // owned by the window
    GtkEventController* m_pointer;  // owned by the window
};

}  // namespace plintor
