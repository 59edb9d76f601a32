#include "widgets/PictureButton.h"

#include <algorithm>

#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// The looks of the two kinds, after the desktop's plain button: raised like a bevelled key, or
// flat until the pointer is over it. The caption keeps half a character from either edge.
constexpr const char* CommonRules =
    "& { padding: 0; margin: 0; min-width: 0; min-height: 0; border-radius: 3px;"
    "  border: 1px solid transparent; box-shadow: none; text-shadow: none; outline: none;"
    "  color: black; }"
    "& label { margin-left: 0.5em; margin-right: 0.5em; }"
    "&:disabled picture { filter: grayscale(1) opacity(0.45); }"
    "&:disabled label { color: #9d9d9d; }";
constexpr const char* BitRules =
    "& { background: linear-gradient(to bottom, #fbfbfb, #e3e3e3); border-color: #adadad; }"
    "&:hover { background: linear-gradient(to bottom, #ffffff, #e9e9e9); }"
    "&:active, &:checked { background: linear-gradient(to bottom, #dcdcdc, #e8e8e8); }";
constexpr const char* SpeedRules =
    "& { background: none; }"
    "&:hover { background: linear-gradient(to bottom, #fbfbfb, #e3e3e3); border-color: #adadad; }"
    "&:active { background: linear-gradient(to bottom, #d6d6d6, #e4e4e4); border-color: #9a9a9a; }"
    "&:checked { background: #d9d9d9; border-color: #8f8f8f; }";
// The border of CommonRules: the touch target is measured inside it, where assistive
// technology and the eye place the button.
constexpr int FrameWidth = 1;

}  // namespace

PictureButton::PictureButton(Kind kind, const ScreenMetrics& metrics)
    : m_button(GObjectRef<GtkWidget>::sink(gtk_button_new())),
      m_content(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0)),
      m_glyphPlace(gtk_fixed_new()),
      m_picture(gtk_picture_new()),
      m_caption(gtk_label_new(nullptr)),
      m_css(m_button.get()),
      m_clickedSignal(m_button.get(), "clicked", G_CALLBACK(&PictureButton::clicked), this),
      m_kind(kind),
      m_touchTarget(metrics.touchTarget() + 2 * FrameWidth) {
    GtkWidget* button = m_button.get();
    gtk_widget_set_focusable(button, FALSE);  // the page keeps the keyboard focus
    gtk_widget_set_focus_on_click(button, FALSE);
    gtk_widget_set_cursor_from_name(button, "pointer");
    gtk_widget_set_overflow(button, GTK_OVERFLOW_HIDDEN);
    gtk_picture_set_can_shrink(GTK_PICTURE(m_picture), TRUE);
    gtk_label_set_ellipsize(GTK_LABEL(m_caption), PANGO_ELLIPSIZE_END);
    gtk_label_set_single_line_mode(GTK_LABEL(m_caption), TRUE);
    gtk_fixed_put(GTK_FIXED(m_glyphPlace), m_picture, 0, 0);
    gtk_box_append(GTK_BOX(m_content), m_glyphPlace);
    gtk_box_append(GTK_BOX(m_content), m_caption);
    gtk_button_set_child(GTK_BUTTON(button), m_content);
    setStyle("");
    setSize(-1, -1);
    updateLayout();
}

PictureButton::~PictureButton() = default;

void PictureButton::clicked(GtkButton*, gpointer self) {
    auto* button = static_cast<PictureButton*>(self);
    if (button->m_clicked) {
        button->m_clicked();
    }
}

void PictureButton::setEnabled(bool enabled) {
    gtk_widget_set_sensitive(m_button.get(), enabled);
}

void PictureButton::setGlyph(Glyph glyph) {
    gtk_picture_set_paintable(GTK_PICTURE(m_picture), glyph.isNull() ? nullptr : glyph.paintable());
    gtk_widget_set_size_request(m_picture, glyph.width(), glyph.height());
    updateLayout();
}

void PictureButton::setGlyphBesideCaption(bool beside) {
    gtk_orientable_set_orientation(GTK_ORIENTABLE(m_content),
                                   beside ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL);
    updateLayout();
}

void PictureButton::setCaption(const std::string& caption) {
    gtk_label_set_text(GTK_LABEL(m_caption), caption.c_str());
    updateLayout();
    updateAccessibleName();
}

void PictureButton::setAccessibleName(const std::string& name) {
    m_accessibleName = name;
    updateAccessibleName();
}

// The caption is a child of the button, which GTK does not read out as its name by itself.
void PictureButton::updateAccessibleName() {
    const std::string name =
        m_accessibleName.empty() ? gtk_label_get_text(GTK_LABEL(m_caption)) : m_accessibleName;
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_button.get()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   name.c_str(), -1);
}

void PictureButton::setChecked(bool checked) {
    if (checked) {
        gtk_widget_set_state_flags(m_button.get(), GTK_STATE_FLAG_CHECKED, FALSE);
    } else {
        gtk_widget_unset_state_flags(m_button.get(), GTK_STATE_FLAG_CHECKED);
    }
    gtk_accessible_update_state(
        GTK_ACCESSIBLE(m_button.get()), GTK_ACCESSIBLE_STATE_PRESSED,
        checked ? GTK_ACCESSIBLE_TRISTATE_TRUE : GTK_ACCESSIBLE_TRISTATE_FALSE, -1);
}

bool PictureButton::isChecked() const {
    return (gtk_widget_get_state_flags(m_button.get()) & GTK_STATE_FLAG_CHECKED) != 0;
}

// A natural size larger than the touch target still wins: the request is only a minimum.
void PictureButton::setSize(int width, int height) {
    m_width = std::max(width, m_touchTarget);
    m_height = std::max(height, m_touchTarget);
    gtk_widget_set_size_request(m_button.get(), m_width, m_height);
}

void PictureButton::setStyle(std::string_view rules) {
    m_style = rules;
    m_css.set(std::string(CommonRules) + (m_kind == Kind::Bit ? BitRules : SpeedRules) + m_style);
}

// Only what the button has is shown; beside each other, glyph and caption start at the left
// (the language buttons), above each other they are centred.
void PictureButton::updateLayout() {
    const bool hasGlyph = gtk_picture_get_paintable(GTK_PICTURE(m_picture)) != nullptr;
    const char* text = gtk_label_get_text(GTK_LABEL(m_caption));
    const bool hasCaption = text != nullptr && *text != '\0';
    gtk_widget_set_visible(m_glyphPlace, hasGlyph);
    gtk_widget_set_visible(m_caption, hasCaption);
    const bool beside =
        gtk_orientable_get_orientation(GTK_ORIENTABLE(m_content)) == GTK_ORIENTATION_HORIZONTAL;
    gtk_widget_set_halign(m_content, beside ? GTK_ALIGN_START : GTK_ALIGN_FILL);
    gtk_widget_set_valign(m_content, GTK_ALIGN_CENTER);
    gtk_widget_set_halign(m_glyphPlace, GTK_ALIGN_CENTER);
}

}  // namespace plintor
