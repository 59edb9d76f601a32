#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "widgets/Glyph.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// A button that shows its glyph above its caption, or only the one it has. It never takes the
// keyboard focus, so the page keeps it. Speed buttons are flat until touched; bit buttons are
// raised. Every side is at least the screen's touch target, whatever size its owner asks for;
// a screen reader names it by its caption unless it is given a name of its own.
class PictureButton {
public:
    enum class Kind { Speed, Bit };

    PictureButton(Kind kind, const ScreenMetrics& metrics);
    PictureButton(const PictureButton&) = delete;
    PictureButton& operator=(const PictureButton&) = delete;
    ~PictureButton();

    GtkWidget* widget() const { return m_button.get(); }

    void onClicked(std::function<void()> clicked) { m_clicked = std::move(clicked); }
    void setEnabled(bool enabled);
    void setGlyph(Glyph glyph);
    // A glyph beside the caption rather than above it, the pair at the left.
    void setGlyphBesideCaption(bool beside);
    // A caption wider than the button ends in an ellipsis rather than being cut.
    void setCaption(const std::string& caption);
    // What a screen reader calls the button instead of its caption: the name of an icon-only
    // button, or a clearer word than a short caption. Empty: the caption again.
    void setAccessibleName(const std::string& name);
    // Marks the button as the chosen one of a group (the active input language); a screen
    // reader hears it as pressed.
    void setChecked(bool checked);
    bool isChecked() const;

    // The button's fixed size in widget units (-1: its natural width or height), grown to the
    // touch target where it is smaller.
    void setSize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Rules for the caption and the button's inside, such as a font or a colour (see
    // WidgetCss); the button's own frame stays.
    void setStyle(std::string_view rules);

private:
    static void clicked(GtkButton* button, gpointer self);
    void updateLayout();
    void updateAccessibleName();

    std::string m_style;  // the owner's rules, after the kind's frame

    GObjectRef<GtkWidget> m_button;
    GtkWidget* m_content;  // the box of glyph and caption, owned by the button
    // The glyph's picture lies on a fixed place, which gives it its own size: a picture in the
    // box would grow with the button's width and make the button higher than it is meant to be.
    GtkWidget* m_glyphPlace;
    GtkWidget* m_picture;
    GtkWidget* m_caption;
    WidgetCss m_css;
    ScopedSignal m_clickedSignal;
    std::function<void()> m_clicked;
    std::string m_accessibleName;
    Kind m_kind;
    int m_touchTarget;
    int m_width = -1;
    int m_height = -1;
};

}  // namespace plintor
