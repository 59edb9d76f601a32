#include "keyboard/KeyboardPanel.h"

#include <algorithm>
#include <cctype>

#include "core/keyboard/LanguageButtonGeometry.h"
#include "core/support/Log.h"
#include "core/support/ScreenScale.h"
#include "core/support/StringHelpers.h"
#include "keyboard/KeyboardLayouts.h"
#include "platform/KeyboardSystem.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/WidgetCss.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch.
constexpr int KeyboardTop = 8;
constexpr int KeyboardWidth = 550;  // until a layout description gives the proportions

constexpr const char* PanelKey = "plintor-keyboard-panel";

KeyboardPanel* panelOf(GtkWidget* widget) {
    return static_cast<KeyboardPanel*>(g_object_get_data(G_OBJECT(widget), PanelKey));
}

void place(GtkWidget* child, const GdkRectangle& area) {
    int minimum = 0;
    gtk_widget_measure(child, GTK_ORIENTATION_HORIZONTAL, -1, &minimum, nullptr, nullptr, nullptr);
    gtk_widget_measure(child, GTK_ORIENTATION_VERTICAL, area.width, &minimum, nullptr, nullptr,
                       nullptr);
    gtk_widget_size_allocate(child, &area, -1);
}

}  // namespace

// The panel is a GtkFixed for its children's sake, laid out by its own rules: the language
// buttons in a column at the left, the keyboard centred in whatever width the window gives.
KeyboardPanel::KeyboardPanel(const ScreenMetrics& metrics, KeyboardSystem* keyboard)
    : m_metrics(metrics),
      m_keyboard(keyboard),
      m_panel(GObjectRef<GtkWidget>::sink(GTK_WIDGET(
          g_object_new(GTK_TYPE_FIXED, "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, nullptr)))),
      m_colour(m_panel.get()),
      m_touchKeyboard(keyboard),
      m_height(metrics.scaled(DesignHeight)),
      m_touchKeyboardTop(metrics.scaled(KeyboardTop)),
      m_layouts(loadKeyboardLayouts()) {
    GtkWidget* panel = m_panel.get();
    g_object_set_data(G_OBJECT(panel), PanelKey, this);
    gtk_accessible_update_property(GTK_ACCESSIBLE(panel), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   "On-screen keyboard", -1);
    gtk_widget_set_layout_manager(
        panel, gtk_custom_layout_new(nullptr, &KeyboardPanel::measure, &KeyboardPanel::allocate));
    gtk_widget_set_parent(m_touchKeyboard.widget(), panel);
    gtk_widget_set_visible(panel, FALSE);
}

KeyboardPanel::~KeyboardPanel() {
    g_object_set_data(G_OBJECT(m_panel.get()), PanelKey, nullptr);
    for (LanguageButton& language : m_languageButtons) {
        gtk_widget_unparent(language.button->widget());
    }
    gtk_widget_unparent(m_touchKeyboard.widget());
}

void KeyboardPanel::measure(GtkWidget* widget, GtkOrientation orientation, int, int* minimum,
                            int* natural, int*, int*) {
    const KeyboardPanel* panel = panelOf(widget);
    const int size =
        panel != nullptr && orientation == GTK_ORIENTATION_VERTICAL ? panel->shownHeight() : 0;
    *minimum = size;
    *natural = size;
}

void KeyboardPanel::allocate(GtkWidget* widget, int width, int, int) {
    KeyboardPanel* panel = panelOf(widget);
    if (panel == nullptr) {
        return;
    }
    int top = panel->m_touchKeyboardTop;
    for (const LanguageButton& language : panel->m_languageButtons) {
        const PictureButton& button = *language.button;
        place(button.widget(), {panel->m_touchKeyboardTop, top, button.width(), button.height()});
        top += button.height();
    }
    place(panel->m_touchKeyboard.widget(), panel->keyboardArea(width));
}

void KeyboardPanel::setHeight(int height) {
    m_height = height;
    gtk_widget_queue_resize(m_panel.get());
}

void KeyboardPanel::setTouchKeyboardTop(int top) {
    m_touchKeyboardTop = top;
    gtk_widget_queue_allocate(m_panel.get());
}

// Only letters make a country code: whatever else the desktop names has no flag.
Glyph KeyboardPanel::flagOf(const std::string& countryCode) const {
    if (countryCode.empty() || !std::all_of(countryCode.begin(), countryCode.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0;
        })) {
        return {};
    }
    const int scale = scaleClass(m_metrics.pixelsPerInch());
    const int size = scale == 200 ? 48 : scale == 150 ? 32 : 24;
    std::string code = countryCode;
    std::transform(code.begin(), code.end(), code.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return Glyph::fromResource("/plintor/flags/" + std::to_string(size) + "/" + code + ".png",
                               m_metrics.scaleFactor());
}

void KeyboardPanel::buildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize) {
    logStamped("");
    const std::vector<InputLanguage> languages =
        m_keyboard != nullptr ? m_keyboard->installedLanguages() : std::vector<InputLanguage>();
    if (!touchButtonVisible || languages.size() < 2) {
        return;
    }
    const LanguageButtonGeometry geometry =
        languageButtonGeometry(touchKeyboardSize, m_metrics.pixelsPerInch());
    // Points as the desktop's 96 logical pixels per inch make them, whatever the screen.
    const double fontPixels = geometry.fontPoints * static_cast<double>(DesignPixelsPerInch) / 72;
    const std::string style =
        "& { padding-left: " + std::to_string(m_metrics.fromScreenPixels(geometry.margin)) +
        "px; } & box { border-spacing: " +
        std::to_string(m_metrics.fromScreenPixels(geometry.spacing)) +
        "px; } & label { margin: 0; " + WidgetCss::fontRule(fontPixels) + " }";
    for (const InputLanguage& language : languages) {
        const bool sameLanguage = std::any_of(
            m_languageButtons.begin(), m_languageButtons.end(), [&](const LanguageButton& button) {
                return (button.handle & 0xFFFF) == (language.handle & 0xFFFF);
            });
        if (sameLanguage) {
            continue;
        }
        auto button = std::make_unique<PictureButton>(PictureButton::Kind::Speed, m_metrics);
        button->setSize(m_metrics.fromScreenPixels(geometry.width),
                        m_metrics.fromScreenPixels(geometry.height));
        button->setGlyphBesideCaption(true);
        button->setStyle(style);
        logPlain("Keyboard layout: " + hexOf32(language.handle) + " - " + language.localizedName);
        button->setCaption(language.nativeName);
        if (language.nativeName.empty()) {
            button->setAccessibleName(language.localizedName);  // a flag alone says too little
        }
        button->setGlyph(flagOf(language.countryCode));
        button->onClicked([this, handle = language.handle] { chooseLanguage(handle); });
        gtk_widget_set_parent(button->widget(), m_panel.get());
        m_languageButtons.push_back({std::move(button), language.handle});
    }
    logPlain("");
    gtk_widget_queue_resize(m_panel.get());  // the column may need a taller panel
    updateTouchKeyboard();
}

// A large keyboard on a narrow screen moves right of the language buttons, and shrinks with
// its proportions when it would not fit there; it never covers them.
GdkRectangle KeyboardPanel::keyboardArea(int width) const {
    const VirtualKeyLayout* description = m_touchKeyboard.description();
    const int height = shownHeight() - 2 * m_touchKeyboardTop;
    GdkRectangle keyboard{0, m_touchKeyboardTop, m_metrics.scaled(KeyboardWidth), height};
    if (description != nullptr) {
        keyboard.width = keyboardWidthFor(height, *description);
    }
    keyboard.x = (width - keyboard.width) / 2;
    int reserved = 0;
    for (const LanguageButton& language : m_languageButtons) {
        reserved =
            std::max(reserved, m_touchKeyboardTop + language.button->width() + m_touchKeyboardTop);
    }
    if (keyboard.x >= reserved) {
        return keyboard;
    }
    keyboard.x = reserved;
    const int room = width - m_touchKeyboardTop - reserved;
    if (keyboard.width > room && description != nullptr && description->width > 0) {
        keyboard.width = std::max(room, 0);
        keyboard.height = keyboard.width * description->height / description->width;
    }
    return keyboard;
}

int KeyboardPanel::shownHeight() const {
    int languages = 0;
    for (const LanguageButton& language : m_languageButtons) {
        languages += language.button->height();
    }
    const int content = std::max(m_touchKeyboard.heightForKeys(m_metrics.touchTarget()), languages);
    return std::max(m_height, content + 2 * m_touchKeyboardTop);
}

void KeyboardPanel::chooseLanguage(std::uint32_t handle) {
    m_keyboard->activateLanguage(handle);
    updateTouchKeyboard();
}

void KeyboardPanel::updateTouchKeyboard() {
    const std::uint32_t current = m_keyboard != nullptr ? m_keyboard->currentLanguage() : 0;
    if (current != m_lastKeyboardLayout) {
        for (LanguageButton& language : m_languageButtons) {
            language.button->setChecked(language.handle == current);
        }
        m_touchKeyboard.refreshKeys();
        m_lastKeyboardLayout = current;
    }
    const std::string locale =
        m_keyboard != nullptr ? m_keyboard->currentLocaleName() : std::string();
    const int heightBefore = shownHeight();
    m_touchKeyboard.setDescription(
        selectKeyboardLayout(m_layouts, m_touchKeyboard.layoutName(), locale));
    // Another layout's keys may need another height; otherwise only the places change.
    if (shownHeight() != heightBefore) {
        gtk_widget_queue_resize(m_panel.get());
    } else {
        gtk_widget_queue_allocate(m_panel.get());
    }
}

}  // namespace plintor
