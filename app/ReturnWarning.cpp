#include "app/ReturnWarning.h"

#include "widgets/AlertBox.h"
#include "widgets/PanelColour.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// At 96 pixels per inch; a finger needs about a centimetre and a half.
constexpr int BoxWidth = 560;
constexpr int FontPixels = 28;
constexpr int ButtonHeight = 64;
constexpr int Margin = 24;

}  // namespace

ReturnWarning::ReturnWarning(const ScreenMetrics& metrics)
    : m_box(newAlertBox("Return to the home page")),
      m_message(newWrappingLabel()),
      m_css(m_box.get()),
      m_button(PictureButton::Kind::Bit, metrics),
      m_tick([this] { tick(); }) {
    GtkWidget* box = m_box.get();
    const std::string font = WidgetCss::fontRule(metrics.scaled(FontPixels));
    const std::string margin = std::to_string(metrics.scaled(Margin)) + "px";
    m_css.set("& { background: " + WidgetCss::colourText(PanelColour::ButtonFace) +
              "; padding: " + margin + "; border-spacing: " + margin +
              "; box-shadow: " + WidgetCss::raisedPanel(2) +
              "; }"
              "& > label { color: black; " +
              font + " }");
    gtk_widget_set_size_request(box, metrics.scaled(BoxWidth), -1);
    gtk_widget_set_halign(box, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(box, GTK_ALIGN_CENTER);

    gtk_box_append(GTK_BOX(box), m_message);
    describeAlert(box, m_message);  // the countdown

    m_button.setCaption("Continue");
    m_button.setSize(-1, metrics.scaled(ButtonHeight));
    m_button.setStyle("& label { " + font + " }");
    m_button.onClicked([this] {
        if (m_continued) {
            m_continued();
        }
    });
    gtk_box_append(GTK_BOX(box), m_button.widget());
    gtk_widget_set_visible(box, FALSE);
}

ReturnWarning::~ReturnWarning() = default;

void ReturnWarning::start(const std::string& text, long long millisecondsLeft) {
    m_text = text;
    m_deadlineMicroseconds = g_get_monotonic_time() + millisecondsLeft * 1000;
    gtk_widget_set_visible(m_box.get(), TRUE);
    tick();
}

void ReturnWarning::stop() {
    m_tick.stop();
    gtk_widget_set_visible(m_box.get(), FALSE);
}

// The operator's text is no format string: "%d" is replaced, nothing else is read.
void ReturnWarning::tick() {
    const long long remaining = (m_deadlineMicroseconds - g_get_monotonic_time()) / 1000;
    const std::string seconds = std::to_string(remaining > 0 ? (remaining + 999) / 1000 : 0);
    std::string message = m_text;
    for (std::size_t at = message.find("%d"); at != std::string::npos;
         at = message.find("%d", at + seconds.size())) {
        message.replace(at, 2, seconds);
    }
    gtk_label_set_text(GTK_LABEL(m_message), message.c_str());
    if (remaining <= 0) {
        m_tick.stop();
        if (m_expired) {
            m_expired();
        }
        return;
    }
    // The next tick when the count changes.
    m_tick.start((remaining - 1) % 1000 + 1);
}

}  // namespace plintor
