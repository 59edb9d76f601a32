#include "app/ShutdownPanel.h"

#include <algorithm>

#include "core/support/Log.h"
#include "widgets/PanelColour.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch, inside the box.
constexpr int BoxWidth = 409;
constexpr int BoxHeight = 193;
constexpr GdkRectangle HeadingRect{24, 24, 361, 21};
constexpr int PasswordLabelLeft = 88;
constexpr GdkRectangle PasswordRect{152, 56, 169, 21};
constexpr int ActionLefts[] = {24, 120, 216, 312};
constexpr int ActionTop = 96;
constexpr int ActionSize = 73;
constexpr int HeadingFontPixels = 13;
constexpr int FieldBorder = 1;  // the password field's frame; the touch target lies inside it

const char* const InvalidPassword = "Invalid password";
const char* const Captions[] = {"Shut down", "Restart", "Log off", "Exit"};

// The page's place in the window's own colour, the box a raised panel on it; the field a plain
// white box.
std::string panelRules(const ScreenMetrics& metrics) {
    const std::string face = WidgetCss::colourText(PanelColour::ButtonFace);
    return "& { background: " + face + "; }& .shutdown-box { background: " + face +
           "; box-shadow: " + WidgetCss::raisedPanel(2) +
           "; }"
           "& label { color: black; " +
           WidgetCss::fontRule(metrics.scaled(WindowFontPixels)) +
           " }"
           "& .shutdown-heading { " +
           WidgetCss::fontRule(metrics.scaled(HeadingFontPixels), true) +
           " }"
           "& entry { min-height: 0; min-width: 0; padding: 0 3px; margin: 0;"
           "  background: white; color: black; border: " +
           std::to_string(FieldBorder) +
           "px solid #8E8E8E; border-radius: 2px;"
           "  box-shadow: none; outline: none; " +
           WidgetCss::fontRule(metrics.scaled(WindowFontPixels)) +
           " }"
           "& entry > image { margin: 0; padding: 0; -gtk-icon-size: 12px; }";
}

GtkWidget* placed(GtkWidget* fixed, GtkWidget* child, const ScreenMetrics& metrics,
                  const GdkRectangle& design) {
    gtk_widget_set_size_request(child, metrics.scaled(design.width), metrics.scaled(design.height));
    gtk_fixed_put(GTK_FIXED(fixed), child, metrics.scaled(design.x), metrics.scaled(design.y));
    return child;
}

}  // namespace

ShutdownPanel::ShutdownPanel(const ScreenMetrics& metrics, std::array<Glyph, 4> images)
    : m_panel(GObjectRef<GtkWidget>::sink(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0))),
      m_box(GTK_WIDGET(
          g_object_new(GTK_TYPE_FIXED, "accessible-role", GTK_ACCESSIBLE_ROLE_DIALOG, nullptr))),
      m_heading(gtk_label_new(nullptr)),
      m_password(gtk_password_entry_new()),
      m_css(m_panel.get()),
      m_attempts(steadyClock()),
      m_idle([this] { closePanel(); }),
      m_waitOver([this] { gtk_label_set_text(GTK_LABEL(m_heading), m_caption.c_str()); }) {
    m_css.set(panelRules(metrics));
    gtk_widget_set_hexpand(m_panel.get(), TRUE);
    gtk_widget_set_vexpand(m_panel.get(), TRUE);
    gtk_widget_add_css_class(m_box, "shutdown-box");
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_box), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "Shutdown panel", GTK_ACCESSIBLE_PROPERTY_MODAL, TRUE, -1);
    gtk_widget_set_size_request(m_box, metrics.scaled(BoxWidth), metrics.scaled(BoxHeight));
    gtk_widget_set_halign(m_box, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(m_box, GTK_ALIGN_CENTER);
    gtk_widget_set_vexpand(m_box, TRUE);
    gtk_box_append(GTK_BOX(m_panel.get()), m_box);

    gtk_widget_add_css_class(m_heading, "shutdown-heading");
    gtk_label_set_justify(GTK_LABEL(m_heading), GTK_JUSTIFY_CENTER);
    gtk_label_set_ellipsize(GTK_LABEL(m_heading), PANGO_ELLIPSIZE_END);
    placed(m_box, m_heading, metrics, HeadingRect);

    // The field is as high as a finger needs, the label beside it centred on its height. It
    // grows downwards, into the space above the buttons.
    const int fieldHeight =
        std::max(metrics.scaled(PasswordRect.height), metrics.touchTarget() + 2 * FieldBorder);
    GtkWidget* passwordLabel = gtk_label_new("Password:");
    gtk_label_set_yalign(GTK_LABEL(passwordLabel), 0.5F);
    gtk_widget_set_size_request(passwordLabel, -1, fieldHeight);
    gtk_fixed_put(GTK_FIXED(m_box), passwordLabel, metrics.scaled(PasswordLabelLeft),
                  metrics.scaled(PasswordRect.y));
    // Its own idea of a natural width (150 units) would widen the box where the field is
    // narrower: it has the width of its place.
    gtk_editable_set_width_chars(GTK_EDITABLE(m_password), 1);
    gtk_editable_set_max_width_chars(GTK_EDITABLE(m_password), 1);
    gtk_widget_set_size_request(m_password, metrics.scaled(PasswordRect.width), fieldHeight);
    gtk_fixed_put(GTK_FIXED(m_box), m_password, metrics.scaled(PasswordRect.x),
                  metrics.scaled(PasswordRect.y));
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_password), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "Password", -1);

    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        auto button = std::make_unique<PictureButton>(PictureButton::Kind::Bit, metrics);
        button->setGlyph(std::move(images[i]));
        button->setCaption(Captions[i]);
        button->setSize(metrics.scaled(ActionSize), metrics.scaled(ActionSize));
        button->onClicked([this, i] { choose(static_cast<Action>(i)); });
        gtk_fixed_put(GTK_FIXED(m_box), button->widget(), metrics.scaled(ActionLefts[i]),
                      metrics.scaled(ActionTop));
        m_buttons[i] = std::move(button);
    }
    gtk_widget_set_visible(m_panel.get(), FALSE);
}

ShutdownPanel::~ShutdownPanel() = default;

void ShutdownPanel::openPanel(const std::string& heading) {
    m_caption = heading;
    m_waitOver.stop();
    gtk_label_set_text(GTK_LABEL(m_heading), heading.c_str());
    gtk_widget_set_visible(m_panel.get(), TRUE);
    focusPassword();
    m_idle.start(IdleCloseMs);
}

void ShutdownPanel::closePanel() {
    m_idle.stop();
    m_waitOver.stop();
    if (isOpen()) {
        gtk_widget_set_visible(m_panel.get(), FALSE);
        gtk_editable_set_text(GTK_EDITABLE(m_password), "");  // no password stays behind
        if (m_closed) {
            m_closed();
        }
    }
}

bool ShutdownPanel::isOpen() const {
    return gtk_widget_get_visible(m_panel.get());
}

void ShutdownPanel::keyPressed() {
    if (m_idle.isActive()) {
        m_idle.start(IdleCloseMs);
    }
}

// While a guesser's wait runs the entry is not tried at all, so a wrong one costs nothing
// more and a right one does not get through.
void ShutdownPanel::choose(Action action) {
    if (const std::chrono::milliseconds wait = m_attempts.waitLeft(); wait.count() > 0) {
        showWait(wait);
        focusPassword();
        return;
    }
    tryPassword(action);
}

void ShutdownPanel::tryPassword(Action action) {
    if (gtk_editable_get_text(GTK_EDITABLE(m_password)) == m_expected) {
        m_attempts.rightEntry();
        logEntry(std::string("Shutdown panel: ") + Captions[static_cast<int>(action)]);
        if (m_confirmed) {
            m_confirmed(action);
        }
        return;
    }
    m_attempts.wrongEntry();
    logEntry("Wrong shutdown password");
    gtk_label_set_text(GTK_LABEL(m_heading),
                       (std::string("*** ") + InvalidPassword + " ***").c_str());
    focusPassword();
}

// Said in the heading, where the wrong-password line goes; the heading comes back when the
// wait is over.
void ShutdownPanel::showWait(std::chrono::milliseconds wait) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
    const std::string text = "*** Wait " + std::to_string(seconds) + " s before the next try ***";
    gtk_label_set_text(GTK_LABEL(m_heading), text.c_str());
    m_waitOver.start(wait.count());
}

void ShutdownPanel::focusPassword() {
    gtk_editable_set_text(GTK_EDITABLE(m_password), "");
    gtk_widget_grab_focus(m_password);
}

}  // namespace plintor
