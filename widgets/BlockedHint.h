#pragma once

#include <gtk/gtk.h>

#include <string>

#include "glib/GObjectRef.h"
#include "glib/Timeout.h"
#include "widgets/Glyph.h"
#include "widgets/WidgetCss.h"

namespace plintor {

// The hint that answers a blocked address: a plain rectangle with an icon and the operator's
// message, its lower left corner at the pointer, kept on the screen, gone after two seconds.
// It never takes the keyboard focus or the pointer from the page.
class BlockedHint {
public:
    static constexpr int HideAfterMs = 2000;

    BlockedHint();
    BlockedHint(const BlockedHint&) = delete;
    BlockedHint& operator=(const BlockedHint&) = delete;
    ~BlockedHint();

    // An empty message keeps the current one; a null image keeps the current image.
    void setContent(const std::string& message, const Glyph& image);
    // Shows the hint at the pointer, which is over `over` (the page); it hangs from `over`
    // while shown.
    void showAtPointer(GtkWidget* over);
    void hide();
    bool showingHint() const;
    GtkWidget* widget() const { return m_popover.get(); }

private:
    GObjectRef<GtkWidget> m_popover;
    GtkWidget* m_image;  // owned by the popover
    GtkWidget* m_text;
    WidgetCss m_css;
    Timeout m_hideTimer;
};

}  // namespace plintor
