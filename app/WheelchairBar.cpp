#include "app/WheelchairBar.h"

#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch, in a bar 960 wide.
constexpr int BarHeight = 63;
constexpr int TopLineHeight = 4;
constexpr int ButtonTop = 8;
constexpr int ButtonWidth = 81;
constexpr int ButtonHeight = 49;
constexpr int ButtonRightMargin = 960 - (872 + 81);

}  // namespace

// The top line is a sunken rule: a dark line over a light one in the middle of its height.
WheelchairBar::WheelchairBar(const ScreenMetrics& metrics, Glyph wheelchair)
    : m_bar(GObjectRef<GtkWidget>::sink(GTK_WIDGET(g_object_new(
          GTK_TYPE_OVERLAY, "accessible-role", GTK_ACCESSIBLE_ROLE_TOOLBAR, nullptr)))),
      m_topLine(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0)),
      m_colour(m_bar.get()),
      m_lineCss(m_topLine),
      m_button(PictureButton::Kind::Speed, metrics) {
    GtkOverlay* overlay = GTK_OVERLAY(m_bar.get());
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_bar.get()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "Wheelchair bar", -1);
    gtk_widget_set_size_request(m_bar.get(), -1, metrics.scaled(BarHeight));
    const int lineHeight = metrics.scaled(TopLineHeight);
    const std::string top = std::to_string((lineHeight - 2) / 2) + "px";
    const std::string middle = std::to_string((lineHeight - 2) / 2 + 1) + "px";
    const std::string bottom = std::to_string((lineHeight - 2) / 2 + 2) + "px";
    m_lineCss.set("& { background-image: linear-gradient(to bottom, transparent " + top +
                  ", #9F9F9F " + top + ", #9F9F9F " + middle + ", #FFFFFF " + middle +
                  ", #FFFFFF " + bottom + ", transparent " + bottom + "); }");
    gtk_widget_set_size_request(m_topLine, -1, lineHeight);
    gtk_widget_set_valign(m_topLine, GTK_ALIGN_START);
    gtk_overlay_add_overlay(overlay, m_topLine);

    m_button.setGlyph(std::move(wheelchair));
    m_button.setAccessibleName("Wheelchair layout");
    m_button.setSize(metrics.scaled(ButtonWidth), metrics.scaled(ButtonHeight));
    GtkWidget* button = m_button.widget();
    gtk_widget_set_halign(button, GTK_ALIGN_END);
    gtk_widget_set_valign(button, GTK_ALIGN_START);
    gtk_widget_set_margin_end(button, metrics.scaled(ButtonRightMargin));
    gtk_widget_set_margin_top(button, metrics.scaled(ButtonTop));
    gtk_overlay_add_overlay(overlay, button);
}

WheelchairBar::~WheelchairBar() = default;

}  // namespace plintor
