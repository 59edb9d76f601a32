#include "widgets/BlockedHint.h"

namespace plintor {
namespace {

// The hint's face: a pale yellow rectangle with a grey line, as a tooltip of the desktop the
// kiosk came from; no arrow, shadow or rounded corners of the theme's popovers.
constexpr const char* HintRules =
    "& { background: none; padding: 0; margin: 0; box-shadow: none; }"
    "& > contents { background: #FFFFE1; border: 1px solid #767676; border-radius: 0;"
    "  box-shadow: none; padding: 6px 10px 6px 8px; margin: 0; min-width: 0; min-height: 0; }"
    "& label { color: #1E1E1E; font-family: \"DejaVu Sans\", sans-serif; font-size: 9pt; }";

}  // namespace

BlockedHint::BlockedHint()
    : m_popover(GObjectRef<GtkWidget>::sink(gtk_popover_new())),
      m_image(gtk_picture_new()),
      m_text(gtk_label_new(nullptr)),
      m_css(m_popover.get()),
      m_hideTimer([this] { hide(); }) {
    GtkPopover* popover = GTK_POPOVER(m_popover.get());
    // Neither a grab nor the focus: the visitor goes on typing into the page.
    gtk_popover_set_autohide(popover, FALSE);
    gtk_popover_set_has_arrow(popover, FALSE);
    gtk_popover_set_position(popover, GTK_POS_TOP);
    gtk_widget_set_halign(m_popover.get(), GTK_ALIGN_START);
    gtk_widget_set_can_focus(m_popover.get(), FALSE);
    gtk_widget_set_can_target(m_popover.get(), FALSE);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_valign(m_image, GTK_ALIGN_START);
    gtk_picture_set_can_shrink(GTK_PICTURE(m_image), TRUE);
    gtk_box_append(GTK_BOX(row), m_image);
    gtk_box_append(GTK_BOX(row), m_text);
    gtk_widget_set_visible(m_image, FALSE);
    gtk_widget_set_visible(m_text, FALSE);
    gtk_popover_set_child(popover, row);
    m_css.set(HintRules);
}

BlockedHint::~BlockedHint() {
    hide();
}

void BlockedHint::setContent(const std::string& message, const Glyph& image) {
    if (!message.empty()) {
        gtk_label_set_text(GTK_LABEL(m_text), message.c_str());
        gtk_widget_set_visible(m_text, TRUE);
    }
    if (!image.isNull()) {
        gtk_picture_set_paintable(GTK_PICTURE(m_image), image.paintable());
        gtk_widget_set_size_request(m_image, image.width(), image.height());
        gtk_widget_set_visible(m_image, TRUE);
    }
}

// The popover keeps itself on the monitor (it slides and flips), so a hint at an edge stays
// whole, as it always did.
void BlockedHint::showAtPointer(GtkWidget* over) {
    GtkNative* native = gtk_widget_get_native(over);
    GdkSurface* surface = native != nullptr ? gtk_native_get_surface(native) : nullptr;
    if (surface == nullptr) {
        return;
    }
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(over));
    GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    double surfaceX = 0;
    double surfaceY = 0;
    if (pointer != nullptr) {
        gdk_surface_get_device_position(surface, pointer, &surfaceX, &surfaceY, nullptr);
    }
    double nativeX = 0;
    double nativeY = 0;
    gtk_native_get_surface_transform(native, &nativeX, &nativeY);
    double x = 0;
    double y = 0;
    gtk_widget_translate_coordinates(GTK_WIDGET(native), over, surfaceX - nativeX,
                                     surfaceY - nativeY, &x, &y);
    if (gtk_widget_get_parent(m_popover.get()) != over) {
        hide();
        gtk_widget_set_parent(m_popover.get(), over);
    }
    const GdkRectangle at{static_cast<int>(x), static_cast<int>(y), 1, 1};
    gtk_popover_set_pointing_to(GTK_POPOVER(m_popover.get()), &at);
    gtk_popover_popup(GTK_POPOVER(m_popover.get()));
    m_hideTimer.start(HideAfterMs);
}

void BlockedHint::hide() {
    m_hideTimer.stop();
    if (gtk_widget_get_parent(m_popover.get()) != nullptr) {
        gtk_popover_popdown(GTK_POPOVER(m_popover.get()));
        gtk_widget_unparent(m_popover.get());
    }
}

bool BlockedHint::showingHint() const {
    return gtk_widget_get_visible(m_popover.get());
}

}  // namespace plintor
