#pragma once

#include <chrono>
#include <optional>

#include "core/support/Clock.h"

namespace plintor {

// When the on-screen keyboard comes and goes with the focus of a text field. A field of the
// page opens it only when the focus follows the visitor's own input (a key, a button, a touch)
// within InputWindow, and each input opens it once: a page that focuses fields by itself, on
// load or in a loop, opens nothing. The kiosk's own field (the shutdown panel's password) is
// focused only by the kiosk and opens it at once. A new document's own focus (autofocus) never
// opens it. It closes CloseGrace after the focus has left
// every field, so moving between fields keeps it. A keyboard the visitor showed with its button
// is the visitor's: focus never closes it, and one the visitor hid stays hidden until a field
// takes the focus after the visitor's next input.
class FocusKeyboardRule {
public:
    enum class Field { Page, Kiosk };
    static constexpr std::chrono::milliseconds InputWindow{1000};
    static constexpr std::chrono::milliseconds CloseGrace{400};

    explicit FocusKeyboardRule(const MonotonicClock& clock) : m_clock(clock) {}

    // Off (KeyboardOnFocus, or no touch screen where it asks for one): no field opens it.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    void visitorInput();
    // `field` took the focus, or its focused field was tapped again. True: show the keyboard.
    bool fieldFocused(Field field, bool keyboardShown);
    // `field` has no focused text field any more. True: hide the keyboard after CloseGrace,
    // when closeDue agrees then.
    bool fieldLeft(Field field, bool keyboardShown);
    // The page shows a new document: the page's field has gone, and the visitor's input went to
    // the document before (a new document's own focus opens nothing). As fieldLeft.
    bool pageReplaced(bool keyboardShown);
    // The grace after fieldLeft is over. True: hide the keyboard now.
    bool closeDue(bool keyboardShown);
    // The keyboard's button (or the idle return) showed or hid it.
    void keyboardToggled();

private:
    bool anyFieldFocused() const { return m_pageField || m_kioskField; }
    bool takeFreshInput();

    const MonotonicClock& m_clock;
    bool m_enabled = false;
    // The visitor's last input, until a focus has used it to open the keyboard.
    std::optional<std::chrono::steady_clock::time_point> m_input;
    bool m_pageField = false;
    bool m_kioskField = false;
    bool m_openedByFocus = false;  // shown by a field's focus, not by the button
};

}  // namespace plintor
