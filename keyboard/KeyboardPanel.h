#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/keyboard/VirtualKeyLayout.h"
#include "glib/GObjectRef.h"
#include "keyboard/TouchKeyboard.h"
#include "widgets/Glyph.h"
#include "widgets/PanelColour.h"
#include "widgets/PictureButton.h"

namespace plintor {

class KeyboardSystem;
class ScreenMetrics;

// The panel at the window's edge that holds the on-screen keyboard and, at its left, one
// button per input language with the country's flag and the language's own name. It lays the
// keyboard out whenever its width changes. Hidden until shown.
class KeyboardPanel {
public:
    static constexpr int DesignHeight = 194;

    // `keyboard` may be null (no keyboard service): then no language buttons.
    KeyboardPanel(const ScreenMetrics& metrics, KeyboardSystem* keyboard);
    KeyboardPanel(const KeyboardPanel&) = delete;
    KeyboardPanel& operator=(const KeyboardPanel&) = delete;
    ~KeyboardPanel();

    GtkWidget* widget() const { return m_panel.get(); }
    TouchKeyboard& touchKeyboard() { return m_touchKeyboard; }
    void setColour(Color colour) { m_colour.set(colour); }

    // The panel's height in widget units, as configured; it shows taller where its keys or its
    // language buttons need more room to reach the touch target.
    int height() const { return m_height; }
    void setHeight(int height);
    // The keyboard's distance from the panel's edges, which also places the language buttons.
    int touchKeyboardTop() const { return m_touchKeyboardTop; }
    void setTouchKeyboardTop(int top);

    // One button per language of the session, unless the keyboard button is hidden or there
    // is only one language; logs what it found.
    void buildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize);
    // Follows the active input language (marks its button, refreshes the keys and picks the
    // layout description for it).
    void updateTouchKeyboard();

private:
    struct LanguageButton {
        std::unique_ptr<PictureButton> button;
        std::uint32_t handle;
    };

    static void measure(GtkWidget* widget, GtkOrientation orientation, int forSize, int* minimum,
                        int* natural, int* minimumBaseline, int* naturalBaseline);
    static void allocate(GtkWidget* widget, int width, int height, int baseline);
    // Where the keyboard goes in a panel of that width (widget units).
    GdkRectangle keyboardArea(int width) const;
    // The height the panel shows with: the configured one, or what its keys and its column of
    // language buttons need.
    int shownHeight() const;
    void chooseLanguage(std::uint32_t handle);
    Glyph flagOf(const std::string& countryCode) const;

    const ScreenMetrics& m_metrics;
    KeyboardSystem* m_keyboard;
    GObjectRef<GtkWidget> m_panel;
    PanelColour m_colour;
    TouchKeyboard m_touchKeyboard;
    int m_height;
    int m_touchKeyboardTop;
    std::vector<VirtualKeyLayout> m_layouts;  // the descriptions of every layout
    std::vector<LanguageButton> m_languageButtons;
    std::uint32_t m_lastKeyboardLayout = 0;
};

}  // namespace plintor
