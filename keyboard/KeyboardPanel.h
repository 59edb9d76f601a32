#pragma once

#include <QList>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

class KeyboardSystem;
class PictureButton;
class ScreenMetrics;
class TouchKeyboard;

// The panel at the window's edge that holds the on-screen keyboard and, at its left, one
// button per input language with the country's flag and the language's own name.
class KeyboardPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignHeight = 194;

    KeyboardPanel(const ScreenMetrics& metrics, KeyboardSystem* keyboard, QWidget* parent);

    TouchKeyboard* touchKeyboard() const { return m_touchKeyboard; }
    // The keyboard's distance from the panel's edges, which also places the language buttons.
    int touchKeyboardTop() const { return m_touchKeyboardTop; }
    void setTouchKeyboardTop(int top) { m_touchKeyboardTop = top; }

    // One button per language of the session, unless the keyboard button is hidden or there
    // is only one language; logs what it found.
    void buildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize);
    // Follows the active input language (marks its button, refreshes the keys) and the
    // panel's size (centres the keyboard with the proportions of its layout description).
    void updateTouchKeyboard();

private:
    void chooseLanguage(std::uint32_t handle);
    QRect clearOfLanguageButtons(QRect keyboard, const VirtualKeyLayout* description) const;
    QPixmap flagOf(const std::string& countryCode) const;

    const ScreenMetrics& m_metrics;
    KeyboardSystem* m_keyboard;
    TouchKeyboard* m_touchKeyboard;
    int m_touchKeyboardTop;
    std::vector<VirtualKeyLayout> m_layouts;  // the descriptions of every layout
    QList<PictureButton*> m_languageButtons;
    std::uint32_t m_lastKeyboardLayout = 0;
};

}  // namespace plintor
