#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "core/support/HtmlColor.h"
#include "glib/GObjectRef.h"

namespace plintor {

// Style rules for one widget and its descendants, over the theme's: the widget gets a class of
// its own, and "&" in the rules stands for it ("& { background: white; } & label { … }").
class WidgetCss {
public:
    explicit WidgetCss(GtkWidget* widget);
    WidgetCss(const WidgetCss&) = delete;
    WidgetCss& operator=(const WidgetCss&) = delete;
    ~WidgetCss();

    // Replaces the rules given before.
    void set(std::string_view rules);

    // "#RRGGBB" of a colour.
    static std::string colourText(Color colour);
    // The declarations of the program's font at that size in widget units.
    static std::string fontRule(double pixels, bool bold = false);
    // The box-shadow value of a panel raised by lines of that width, light at the top left and
    // dark at the bottom right; drawn inside the box, so that its children keep their places.
    static std::string raisedPanel(int lineWidth);

private:
    std::string m_class;
    GObjectRef<GdkDisplay> m_display;
    GObjectRef<GtkCssProvider> m_provider;
};

}  // namespace plintor
