#include "app/NavigationPanel.h"

#include <algorithm>

#include "widgets/ScreenMetrics.h"
#include "widgets/WidgetCss.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch, in a panel 960 wide and 65 high.
constexpr int PanelHeight = 65;
constexpr int ButtonTop = 8;
constexpr int ButtonSize = 49;
constexpr int BackLeft = 8;
constexpr int ForwardLeft = 64;
constexpr int FirstURLButtonLeft = 120;
constexpr int TouchWidth = 97;
constexpr int TouchRightMargin = 960 - (856 + 97);
constexpr int URLButtonFontPixels = 16;
constexpr int ZoomCaptionFontPixels = 20;
const char* const URLButtonColor = "#0066CC";  // the system's hot-light colour

std::unique_ptr<PictureButton> speedButton(const ScreenMetrics& metrics, Glyph glyph,
                                           const char* name, int width) {
    auto button = std::make_unique<PictureButton>(PictureButton::Kind::Speed, metrics);
    button->setGlyph(std::move(glyph));
    button->setAccessibleName(name);
    button->setSize(metrics.scaled(width), metrics.scaled(ButtonSize));
    return button;
}

}  // namespace

// The buttons lie on a fixed area over the panel, which asks no width of the window: URL
// buttons beyond its right edge are cut off rather than widening the window. The keyboard
// button keeps its distance from the right edge, above them. The panel keeps its margin below
// the buttons however far the touch target grows them.
NavigationPanel::NavigationPanel(const ScreenMetrics& metrics, Glyph back, Glyph forward,
                                 Glyph touch)
    : m_metrics(metrics),
      m_panel(GObjectRef<GtkWidget>::sink(GTK_WIDGET(g_object_new(
          GTK_TYPE_OVERLAY, "accessible-role", GTK_ACCESSIBLE_ROLE_TOOLBAR, nullptr)))),
      m_fixed(gtk_fixed_new()),
      m_colour(m_panel.get()),
      m_back(speedButton(metrics, std::move(back), "Back", ButtonSize)),
      m_forward(speedButton(metrics, std::move(forward), "Forward", ButtonSize)),
      m_touch(speedButton(metrics, std::move(touch), "Keyboard", TouchWidth)),
      m_zoomOut(newZoomButton("A\u2212", "Zoom out")),
      m_zoomIn(newZoomButton("A+", "Zoom in")),
      m_zoomButtons(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0)) {
    GtkOverlay* overlay = GTK_OVERLAY(m_panel.get());
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_panel.get()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "Navigation", -1);
    const int buttonsHeight = std::max({m_back->height(), m_forward->height(), m_touch->height()});
    gtk_widget_set_size_request(
        m_panel.get(), -1,
        std::max(metrics.scaled(PanelHeight), 2 * metrics.scaled(ButtonTop) + buttonsHeight));
    gtk_widget_set_overflow(m_panel.get(), GTK_OVERFLOW_HIDDEN);
    gtk_widget_set_halign(m_fixed, GTK_ALIGN_START);
    gtk_widget_set_valign(m_fixed, GTK_ALIGN_START);
    gtk_overlay_add_overlay(overlay, m_fixed);
    gtk_overlay_set_clip_overlay(overlay, m_fixed, TRUE);
    const int top = metrics.scaled(ButtonTop);
    gtk_fixed_put(GTK_FIXED(m_fixed), m_back->widget(), metrics.scaled(BackLeft), top);
    gtk_fixed_put(GTK_FIXED(m_fixed), m_forward->widget(), metrics.scaled(ForwardLeft), top);
    m_urlButtons.push_back(newUrlButton(1));

    GtkWidget* touchButton = m_touch->widget();
    gtk_widget_set_halign(touchButton, GTK_ALIGN_END);
    gtk_widget_set_valign(touchButton, GTK_ALIGN_START);
    gtk_widget_set_margin_end(touchButton, metrics.scaled(TouchRightMargin));
    gtk_widget_set_margin_top(touchButton, top);
    gtk_overlay_add_overlay(overlay, touchButton);

    gtk_box_set_spacing(GTK_BOX(m_zoomButtons), buttonGap());
    gtk_box_append(GTK_BOX(m_zoomButtons), m_zoomOut->widget());
    gtk_box_append(GTK_BOX(m_zoomButtons), m_zoomIn->widget());
    gtk_widget_set_halign(m_zoomButtons, GTK_ALIGN_END);
    gtk_widget_set_valign(m_zoomButtons, GTK_ALIGN_START);
    gtk_widget_set_margin_top(m_zoomButtons, top);
    gtk_widget_set_visible(m_zoomButtons, FALSE);
    gtk_overlay_add_overlay(overlay, m_zoomButtons);
}

NavigationPanel::~NavigationPanel() = default;

std::unique_ptr<PictureButton> NavigationPanel::newUrlButton(int tag) {
    auto button = std::make_unique<PictureButton>(PictureButton::Kind::Speed, m_metrics);
    button->setStyle("& label { color: " + std::string(URLButtonColor) + "; " +
                     WidgetCss::fontRule(m_metrics.scaled(URLButtonFontPixels), true) + " }");
    button->setSize(m_metrics.scaled(ButtonSize), m_metrics.scaled(ButtonSize));
    button->onClicked([this, tag] {
        if (m_urlButtonClicked) {
            m_urlButtonClicked(tag);
        }
    });
    gtk_fixed_put(GTK_FIXED(m_fixed), button->widget(), m_metrics.scaled(FirstURLButtonLeft),
                  m_metrics.scaled(ButtonTop));
    return button;
}

// The zoom buttons are sized like the panel's other square buttons: the short caption goes
// without the usual side margins, which would make the button wider than it is tall. Their
// names are what a screen reader says, since "A−" and "A+" say nothing aloud.
std::unique_ptr<PictureButton> NavigationPanel::newZoomButton(const char* caption,
                                                              const char* name) {
    auto button = std::make_unique<PictureButton>(PictureButton::Kind::Speed, m_metrics);
    button->setStyle("& label { margin-left: 0; margin-right: 0; " +
                     WidgetCss::fontRule(m_metrics.scaled(ZoomCaptionFontPixels), true) + " }");
    button->setCaption(caption);
    button->setSize(m_metrics.scaled(ButtonSize), m_metrics.scaled(ButtonSize));
    button->setAccessibleName(name);
    return button;
}

// The gap between back and forward, kept between all the panel's neighbouring buttons.
int NavigationPanel::buttonGap() const {
    return m_metrics.scaled(ForwardLeft) - m_metrics.scaled(BackLeft) - m_back->width();
}

// The keyboard button stays where it always was; the zoom buttons move beside it.
void NavigationPanel::showRightButtons(bool keyboard, bool zoom) {
    gtk_widget_set_visible(m_touch->widget(), keyboard);
    gtk_widget_set_visible(m_zoomButtons, zoom);
    const int keyboardRoom = keyboard ? m_touch->width() + buttonGap() : 0;
    gtk_widget_set_margin_end(m_zoomButtons, m_metrics.scaled(TouchRightMargin) + keyboardRoom);
}

void NavigationPanel::onUrlButtonClicked(std::function<void(int)> clicked) {
    m_urlButtonClicked = std::move(clicked);
}

// Laid out again, the panel keeps the buttons it has for the entries it still has and drops
// the rest.
void NavigationPanel::layoutNavButtons(const std::vector<NavButton>& buttons,
                                       const Glyph& homeGlyph) {
    const int gap = buttonGap();
    const int top = m_metrics.scaled(ButtonTop);
    int x = m_metrics.scaled(FirstURLButtonLeft);
    const std::size_t count = std::max<std::size_t>(buttons.size(), 1);
    while (m_urlButtons.size() > count) {
        gtk_fixed_remove(GTK_FIXED(m_fixed), m_urlButtons.back()->widget());
        m_urlButtons.pop_back();
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i == m_urlButtons.size()) {
            m_urlButtons.push_back(newUrlButton(static_cast<int>(i) + 1));
        }
        PictureButton& button = *m_urlButtons[i];
        std::string caption = buttons[i].caption;
        if (caption == "#") {
            caption.clear();
        } else if (caption.empty()) {
            caption = buttons[i].url;
        }
        button.setCaption(caption);
        button.setGlyph(caption.empty() ? homeGlyph.share() : Glyph());
        // An icon-only button shows the home image: the first is the home button, the others
        // are named by where they go.
        button.setAccessibleName(!caption.empty() ? "" : i == 0 ? "Home" : buttons[i].url);
        button.setSize(m_metrics.fromScreenPixels(buttons[i].width), button.height());
        gtk_fixed_move(GTK_FIXED(m_fixed), button.widget(), x, top);
        gtk_widget_set_visible(button.widget(), TRUE);
        x += button.width() + gap;
    }
}

}  // namespace plintor
