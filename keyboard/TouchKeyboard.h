#pragma once

#include <gtk/gtk.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "core/keyboard/VirtualKeyLayout.h"
#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

class KeyboardSystem;

// The on-screen keyboard: draws the keys of a layout description with the captions of the
// active input language and types by sending real key strokes, so a page receives exactly what
// a physical keyboard of that language sends. Shift and AltGr hold for the next key (tap them
// twice to release), Caps Lock locks as on a physical keyboard; a held key repeats. It never
// takes the keyboard focus.
class TouchKeyboard {
public:
    // `keyboard` may be null: then it draws the keys without captions and types nothing.
    explicit TouchKeyboard(KeyboardSystem* keyboard);
    TouchKeyboard(const TouchKeyboard&) = delete;
    TouchKeyboard& operator=(const TouchKeyboard&) = delete;
    ~TouchKeyboard();

    GtkWidget* widget() const { return m_area.get(); }

    // The layout type the keyboard asks for ("Standard", "Standard2", "NumPad").
    const std::string& layoutName() const { return m_layoutName; }
    void setLayoutName(const std::string& name) { m_layoutName = name; }
    // The description shown; none shows nothing.
    void setDescription(const VirtualKeyLayout* description);
    const VirtualKeyLayout* description() const { return m_description; }
    // Reads the captions again (the input language changed).
    void refreshKeys();
    // The least height (widget units) at which every key of the description, drawn with its
    // proportions, is at least `keySize` wide and high; 0 without a description.
    int heightForKeys(int keySize) const;

private:
    // A key's place in widget units.
    struct PlacedKey {
        const VirtualKey* key;
        double x;
        double y;
        double width;
        double height;
    };

    // The keys of the description in a keyboard of that size.
    std::vector<PlacedKey> placedKeys(double width, double height) const;
    static void draw(GtkDrawingArea* area, cairo_t* cairo, int width, int height, gpointer self);
    static void pressed(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
    static void released(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
    const VirtualKey* keyAt(double x, double y) const;
    std::string caption(const VirtualKey& key);
    bool isLatched(const VirtualKey& key) const;
    void press(const VirtualKey& key);
    void release();
    void repeat();

    KeyboardSystem* m_keyboard;
    GObjectRef<GtkWidget> m_area;
    ScopedSignal m_pressedSignal;
    ScopedSignal m_releasedSignal;
    ScopedSignal m_cancelSignal;
    ScopedSignal m_unmapSignal;
    std::string m_layoutName = "Standard";
    const VirtualKeyLayout* m_description = nullptr;
    bool m_shift = false;
    bool m_altGr = false;
    bool m_capsLock = false;
    const VirtualKey* m_pressed = nullptr;
    std::unordered_map<std::string, std::string> m_captions;  // "<shift><altgr>KEY" -> text
    Timeout m_repeat;
};

}  // namespace plintor
