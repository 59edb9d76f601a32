#include "widgets/LoadErrorPanel.h"

#include "widgets/AlertBox.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// At 96 pixels per inch, as the other panels that speak to the visitor.
constexpr int TextWidth = 720;
constexpr int MessagePixels = 32;
constexpr int DetailPixels = 20;
constexpr int ButtonWidth = 180;
constexpr int ButtonHeight = 64;
constexpr int Margin = 24;

constexpr const char* OfflineText =
    "The network is not available. The page is tried again as soon as it is back.";

// A plain, quiet page: the visitor reads the message first, the address second.
std::string pageRules(const ScreenMetrics& metrics) {
    return "& { background: #F4F4F4; }"
           "& label { color: #1E1E1E; " +
           WidgetCss::fontRule(metrics.scaled(DetailPixels)) +
           " }"
           "& label.message { " +
           WidgetCss::fontRule(metrics.scaled(MessagePixels), true) +
           " }"
           "& label.address { color: #555555; }";
}

GtkWidget* newLabel(const char* styleClass) {
    GtkWidget* label = newWrappingLabel();
    if (styleClass != nullptr) {
        gtk_widget_add_css_class(label, styleClass);
    }
    return label;
}

}  // namespace

LoadErrorPanel::LoadErrorPanel(const ScreenMetrics& metrics)
    : m_page(newAlertBox("Page not available")),
      m_message(newLabel("message")),
      m_address(newLabel("address")),
      m_offline(newLabel(nullptr)),
      m_css(m_page.get()),
      m_homeButton(PictureButton::Kind::Bit, metrics) {
    GtkWidget* page = m_page.get();
    m_css.set(pageRules(metrics));
    gtk_widget_set_focusable(page, FALSE);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, metrics.scaled(Margin));
    gtk_widget_set_size_request(column, metrics.scaled(TextWidth), -1);
    gtk_widget_set_halign(column, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(column, GTK_ALIGN_CENTER);
    gtk_widget_set_vexpand(column, TRUE);
    gtk_label_set_text(GTK_LABEL(m_offline), OfflineText);
    gtk_widget_set_visible(m_offline, FALSE);
    for (GtkWidget* label : {m_message, m_address, m_offline}) {
        gtk_box_append(GTK_BOX(column), label);
    }

    m_homeButton.setCaption("Home");
    m_homeButton.setSize(metrics.scaled(ButtonWidth), metrics.scaled(ButtonHeight));
    m_homeButton.setStyle("& label { " + WidgetCss::fontRule(metrics.scaled(MessagePixels)) + " }");
    m_homeButton.onClicked([this] {
        if (m_home) {
            m_home();
        }
    });
    gtk_widget_set_halign(m_homeButton.widget(), GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(column), m_homeButton.widget());
    describeAlert(page, m_message);
    gtk_box_append(GTK_BOX(page), column);
    gtk_widget_set_visible(page, FALSE);
}

LoadErrorPanel::~LoadErrorPanel() = default;

void LoadErrorPanel::show(const std::string& message, const std::string& address) {
    gtk_label_set_text(GTK_LABEL(m_message), message.c_str());
    gtk_widget_set_visible(m_message, !message.empty());
    gtk_label_set_text(GTK_LABEL(m_address), address.c_str());
    gtk_widget_set_visible(m_address, !address.empty());
    gtk_widget_set_visible(m_page.get(), TRUE);
}

void LoadErrorPanel::setOffline(bool offline) {
    gtk_widget_set_visible(m_offline, offline);
}

void LoadErrorPanel::hide() {
    gtk_widget_set_visible(m_page.get(), FALSE);
}

bool LoadErrorPanel::isShown() const {
    return gtk_widget_get_visible(m_page.get());
}

}  // namespace plintor
