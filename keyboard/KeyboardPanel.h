#pragma once

#include <QList>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

class IKeyboardSystem;
class TPictureButton;
class TScreenMetrics;
class TTouchKeyboard;

// The panel at the window's edge that holds the on-screen keyboard and, at its left, one
// button per input language with the country's flag and the language's own name.
class TKeyboardPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignHeight = 194;

    TKeyboardPanel(const TScreenMetrics& metrics, IKeyboardSystem* keyboard, QWidget* parent);

    TTouchKeyboard* TouchKeyboard() const { return FTouchKeyboard; }
    // The keyboard's distance from the panel's edges, which also places the language buttons.
    int TouchKeyboardTop() const { return FTouchKeyboardTop; }
    void SetTouchKeyboardTop(int top) { FTouchKeyboardTop = top; }

    // One button per language of the session, unless the keyboard button is hidden or there
    // is only one language; logs what it found.
    void BuildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize);
    // Follows the active input language (marks its button, refreshes the keys) and the
    // panel's size (centres the keyboard with the proportions of its layout description).
    void UpdateTouchKeyboard();

private:
    void LangOnClick(std::uint32_t handle);
    QRect ClearOfLanguageButtons(QRect keyboard, const TVirtualKeyLayout* description) const;
    QPixmap FlagOf(const std::string& countryCode) const;

    const TScreenMetrics& FMetrics;
    IKeyboardSystem* FKeyboard;
    TTouchKeyboard* FTouchKeyboard;
    int FTouchKeyboardTop;
    std::vector<TVirtualKeyLayout> FLayouts;  // the descriptions of every layout
    QList<TPictureButton*> FLanguageButtons;
    std::uint32_t LastKeyboardLayout = 0;
};

}  // namespace plintor
