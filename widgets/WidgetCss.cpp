#include "widgets/WidgetCss.h"

#include <atomic>
#include <charconv>
#include <cstdio>

namespace plintor {
namespace {

// Two decimals with a point whatever the locale GTK set: CSS reads no decimal comma.
std::string pixelText(double pixels) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, pixels, std::chars_format::fixed, 2);
    return std::string(text, end.ptr);
}

std::string uniqueClass() {
    static std::atomic<unsigned> next{0};
    return "plintor-css-" + std::to_string(++next);
}

}  // namespace

WidgetCss::WidgetCss(GtkWidget* widget)
    : m_class(uniqueClass()),
      m_display(GObjectRef<GdkDisplay>::share(gtk_widget_get_display(widget))),
      m_provider(GObjectRef<GtkCssProvider>::adopt(gtk_css_provider_new())) {
    gtk_widget_add_css_class(widget, m_class.c_str());
    gtk_style_context_add_provider_for_display(m_display.get(),
                                               GTK_STYLE_PROVIDER(m_provider.get()),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

WidgetCss::~WidgetCss() {
    gtk_style_context_remove_provider_for_display(m_display.get(),
                                                  GTK_STYLE_PROVIDER(m_provider.get()));
}

void WidgetCss::set(std::string_view rules) {
    std::string css;
    css.reserve(rules.size() + 64);
    for (const char c : rules) {
        if (c == '&') {
            css += '.' + m_class;
        } else {
            css += c;
        }
    }
    gtk_css_provider_load_from_data(m_provider.get(), css.c_str(), static_cast<gssize>(css.size()));
}

std::string WidgetCss::colourText(Color colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

// DejaVu Sans is what the font configuration gives for "sans-serif" here; it is named so that
// a desktop's own choice does not move the kiosk's captions.
std::string WidgetCss::fontRule(double pixels, bool bold) {
    return "font-family: \"DejaVu Sans\", sans-serif; font-size: " + pixelText(pixels) +
           "px; font-weight: " + (bold ? "bold" : "normal") + ";";
}

std::string WidgetCss::raisedPanel(int lineWidth) {
    const std::string width = std::to_string(lineWidth) + "px";
    return "inset " + width + " " + width + " 0 0 #FFFFFF, inset -" + width + " -" + width +
           " 0 0 #9F9F9F";
}

}  // namespace plintor
