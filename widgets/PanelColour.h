#pragma once

#include <gtk/gtk.h>

#include "core/support/HtmlColor.h"
#include "widgets/WidgetCss.h"

namespace plintor {

// The background of a panel around the page: the button-face colour the panels have always
// had, until the configured colour replaces it.
class PanelColour {
public:
    static constexpr Color ButtonFace = 0xEFEFEF;

    explicit PanelColour(GtkWidget* panel);

    void set(Color colour);

private:
    WidgetCss m_css;
};

}  // namespace plintor
