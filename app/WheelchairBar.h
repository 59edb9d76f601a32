#pragma once

#include <gtk/gtk.h>

#include "glib/GObjectRef.h"
#include "widgets/Glyph.h"
#include "widgets/PanelColour.h"
#include "widgets/PictureButton.h"

namespace plintor {

class ScreenMetrics;

// The bar at the bottom of the window with the button that moves the content down within
// reach of a wheelchair user.
class WheelchairBar {
public:
    WheelchairBar(const ScreenMetrics& metrics, Glyph wheelchair);
    WheelchairBar(const WheelchairBar&) = delete;
    WheelchairBar& operator=(const WheelchairBar&) = delete;
    ~WheelchairBar();

    GtkWidget* widget() const { return m_bar.get(); }
    PictureButton& button() { return m_button; }
    void setColour(Color colour) { m_colour.set(colour); }

private:
    GObjectRef<GtkWidget> m_bar;
    GtkWidget* m_topLine;  // owned by the bar
    PanelColour m_colour;
    WidgetCss m_lineCss;
    PictureButton m_button;
};

}  // namespace plintor
