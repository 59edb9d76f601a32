#include "widgets/BlockedHint.h"

#include "widgets/AlertBox.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// At 96 pixels per inch: wide enough for a sentence in large letters, and buttons a finger
// hits, as on the return warning.
constexpr int PanelWidth = 640;
constexpr int SignSize = 48;
constexpr int FontPixels = 28;
constexpr int ButtonWidth = 180;
constexpr int ButtonHeight = 64;
constexpr int Margin = 24;

// The pale paper and grey line of the hint it grew from, so that it still reads as the same
// answer.
std::string panelRules(const ScreenMetrics& metrics) {
    const std::string margin = std::to_string(metrics.scaled(Margin)) + "px";
    return "& { background: #FFFFE1; border: 2px solid #767676; padding: " + margin +
           "; border-spacing: " + margin +
           "; }"
           "& > label { color: #1E1E1E; " +
           WidgetCss::fontRule(metrics.scaled(FontPixels)) + " }";
}

}  // namespace

BlockedHint::BlockedHint(const ScreenMetrics& metrics)
    : m_panel(newAlertBox("Address blocked")),
      m_image(gtk_image_new()),
      m_text(newWrappingLabel()),
      m_css(m_panel.get()),
      m_backButton(PictureButton::Kind::Bit, metrics),
      m_homeButton(PictureButton::Kind::Bit, metrics),
      m_hideTimer([this] { hide(); }) {
    GtkWidget* panel = m_panel.get();
    m_css.set(panelRules(metrics));
    gtk_widget_set_size_request(panel, metrics.scaled(PanelWidth), -1);
    gtk_widget_set_halign(panel, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(panel, GTK_ALIGN_CENTER);
    gtk_widget_set_focusable(panel, FALSE);

    // An image keeps the size it is given; a picture would grow with the panel's width.
    gtk_image_set_pixel_size(GTK_IMAGE(m_image), metrics.scaled(SignSize));
    gtk_widget_set_visible(m_image, FALSE);
    gtk_box_append(GTK_BOX(panel), m_image);

    gtk_widget_set_visible(m_text, FALSE);
    gtk_box_append(GTK_BOX(panel), m_text);
    describeAlert(panel, m_text);

    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, metrics.scaled(Margin));
    gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
    buildButton(m_backButton, "Back", metrics, m_back);
    buildButton(m_homeButton, "Home", metrics, m_home);
    gtk_box_append(GTK_BOX(buttons), m_backButton.widget());
    gtk_box_append(GTK_BOX(buttons), m_homeButton.widget());
    gtk_box_append(GTK_BOX(panel), buttons);

    // A touch anywhere on the panel dismisses it; the buttons claim their own touches first.
    GtkGesture* touch = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(touch), 0);
    m_touched = ScopedSignal(touch, "released", G_CALLBACK(&BlockedHint::onReleased), this);
    gtk_widget_add_controller(panel, GTK_EVENT_CONTROLLER(touch));
    gtk_widget_set_visible(panel, FALSE);
}

BlockedHint::~BlockedHint() = default;

void BlockedHint::buildButton(PictureButton& button, const char* caption,
                              const ScreenMetrics& metrics, std::function<void()>& action) {
    button.setCaption(caption);
    button.setSize(metrics.scaled(ButtonWidth), metrics.scaled(ButtonHeight));
    button.setStyle("& label { " + WidgetCss::fontRule(metrics.scaled(FontPixels)) + " }");
    button.onClicked([this, &action] {
        hide();
        if (action) {
            action();
        }
    });
}

void BlockedHint::setContent(const std::string& message, const Glyph& image) {
    if (!message.empty()) {
        gtk_label_set_text(GTK_LABEL(m_text), message.c_str());
        gtk_widget_set_visible(m_text, TRUE);
    }
    if (!image.isNull()) {
        gtk_image_set_from_paintable(GTK_IMAGE(m_image), image.paintable());
        gtk_widget_set_visible(m_image, TRUE);
    }
}

void BlockedHint::show(bool canGoBack) {
    gtk_widget_set_visible(m_backButton.widget(), canGoBack);
    gtk_widget_set_visible(m_panel.get(), TRUE);
    m_hideTimer.start(m_seconds * 1000LL);
}

void BlockedHint::hide() {
    m_hideTimer.stop();
    gtk_widget_set_visible(m_panel.get(), FALSE);
}

bool BlockedHint::showingHint() const {
    return gtk_widget_get_visible(m_panel.get());
}

void BlockedHint::onReleased(GtkGestureClick*, int, double, double, gpointer self) {
    static_cast<BlockedHint*>(self)->hide();
}

}  // namespace plintor
