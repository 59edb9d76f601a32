#include "widgets/PanelColour.h"

namespace plintor {

PanelColour::PanelColour(GtkWidget* panel) : m_css(panel) {
    set(ButtonFace);
}

void PanelColour::set(Color colour) {
    m_css.set("& { background-color: " + WidgetCss::colourText(colour) + "; }");
}

}  // namespace plintor
