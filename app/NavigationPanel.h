#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/config/KioskSettings.h"
#include "glib/GObjectRef.h"
#include "widgets/Glyph.h"
#include "widgets/PanelColour.h"
#include "widgets/PictureButton.h"

namespace plintor {

class ScreenMetrics;

// The visitor's controls above the page: back, forward, the URL buttons (the first is the
// home button) and at the right the page zoom's buttons and the keyboard button.
class NavigationPanel {
public:
    NavigationPanel(const ScreenMetrics& metrics, Glyph back, Glyph forward, Glyph touch);
    NavigationPanel(const NavigationPanel&) = delete;
    NavigationPanel& operator=(const NavigationPanel&) = delete;
    ~NavigationPanel();

    GtkWidget* widget() const { return m_panel.get(); }

    // Places one button per entry from left to right with the gap between back and forward;
    // a "#" caption shows `homeGlyph` alone, an empty one the address.
    void layoutNavButtons(const std::vector<NavButton>& buttons, const Glyph& homeGlyph);
    // The URL button at `tag` (1 for the home button) was pressed.
    void onUrlButtonClicked(std::function<void(int tag)> clicked);
    void setColour(Color colour) { m_colour.set(colour); }
    // Shows the buttons at the right that the configuration asks for; the zoom buttons keep
    // to the keyboard button's left, or take its place when it is hidden.
    void showRightButtons(bool keyboard, bool zoom);

    PictureButton& backButton() const { return *m_back; }
    PictureButton& forwardButton() const { return *m_forward; }
    PictureButton& homeButton() const { return *m_urlButtons.front(); }
    PictureButton& touchButton() const { return *m_touch; }
    PictureButton& zoomOutButton() const { return *m_zoomOut; }
    PictureButton& zoomInButton() const { return *m_zoomIn; }

private:
    std::unique_ptr<PictureButton> newUrlButton(int tag);
    std::unique_ptr<PictureButton> newZoomButton(const char* caption, const char* name);
    int buttonGap() const;

    const ScreenMetrics& m_metrics;
    GObjectRef<GtkWidget> m_panel;  // the buttons over a fixed area
    GtkWidget* m_fixed;             // owned by the panel
    PanelColour m_colour;
    std::unique_ptr<PictureButton> m_back;
    std::unique_ptr<PictureButton> m_forward;
    std::unique_ptr<PictureButton> m_touch;
    std::unique_ptr<PictureButton> m_zoomOut;
    std::unique_ptr<PictureButton> m_zoomIn;
    GtkWidget* m_zoomButtons;  // the two side by side; owned by the panel
    std::vector<std::unique_ptr<PictureButton>> m_urlButtons;
    std::function<void(int)> m_urlButtonClicked;
};

}  // namespace plintor
