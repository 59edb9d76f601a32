#include "core/keyboard/FocusKeyboardRule.h"

namespace plintor {

void FocusKeyboardRule::visitorInput() {
    m_input = m_clock.now();
}

bool FocusKeyboardRule::takeFreshInput() {
    const bool fresh = m_input && m_clock.now() - *m_input <= InputWindow;
    m_input.reset();
    return fresh;
}

bool FocusKeyboardRule::fieldFocused(Field field, bool keyboardShown) {
    (field == Field::Page ? m_pageField : m_kioskField) = true;
    if (keyboardShown || !m_enabled) {
        return false;
    }
    if (field == Field::Page && !takeFreshInput()) {
        return false;
    }
    m_openedByFocus = true;
    return true;
}

bool FocusKeyboardRule::fieldLeft(Field field, bool keyboardShown) {
    (field == Field::Page ? m_pageField : m_kioskField) = false;
    return keyboardShown && m_openedByFocus && !anyFieldFocused();
}

bool FocusKeyboardRule::pageReplaced(bool keyboardShown) {
    m_input.reset();
    return fieldLeft(Field::Page, keyboardShown);
}

bool FocusKeyboardRule::closeDue(bool keyboardShown) {
    if (!keyboardShown || !m_openedByFocus || anyFieldFocused()) {
        return false;
    }
    m_openedByFocus = false;
    return true;
}

// The press on the button was the visitor's answer: a page's focus must not undo it.
void FocusKeyboardRule::keyboardToggled() {
    m_openedByFocus = false;
    m_input.reset();
}

}  // namespace plintor
