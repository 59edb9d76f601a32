#include "keyboard/TouchKeyboard.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/KeyboardSystem.h"

namespace plintor {
namespace {

constexpr int RepeatDelayMs = 500;
constexpr int RepeatIntervalMs = 60;
constexpr double KeyInset = 2;  // between a key's place and its drawn face, on every side

struct Rgb {
    double red;
    double green;
    double blue;
};

constexpr Rgb rgb(unsigned value) {
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

// Keys whose caption is a word or a sign rather than what they type; none for the others.
const char* functionKeyCaption(std::string_view name) {
    static constexpr std::pair<std::string_view, const char*> captions[] = {
        {"BKSP", "\u2190"},       {"TAB", "Tab \u21E5"},
        {"CAPS", "Caps \u21EA"},  {"RTRN", "Enter \u21B5"},
        {"LFSH", "\u21E7 Shift"}, {"RTSH", "\u21E7 Shift"},
        {"RALT", "AltGr"},        {"SPCE", ""},
        {"LEFT", "\u2190"},       {"RGHT", "\u2192"},
        {"UP", "\u2191"},         {"DOWN", "\u2193"},
        {"DELE", "Del"},          {"HOME", "Home"},
        {"END", "End"},           {"KPEN", "Enter"},
    };
    for (const auto& [key, caption] : captions) {
        if (key == name) {
            return caption;
        }
    }
    return nullptr;
}

bool isShift(std::string_view name) {
    return name == "LFSH" || name == "RTSH";
}

bool isModifier(std::string_view name) {
    return isShift(name) || name == "RALT" || name == "CAPS";
}

bool isSpacer(const VirtualKey& key) {
    return key.name == "-";
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void verticalGradient(cairo_t* cairo, double top, double bottom, Rgb from, Rgb to) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(gradient, 0, from.red, from.green, from.blue);
    cairo_pattern_add_color_stop_rgb(gradient, 1, to.red, to.green, to.blue);
    cairo_set_source(cairo, gradient);
    cairo_pattern_destroy(gradient);
}

void roundedRectangle(cairo_t* cairo, double x, double y, double width, double height,
                      double radius) {
    cairo_new_sub_path(cairo);
    cairo_arc(cairo, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cairo, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cairo, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cairo, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cairo);
}

}  // namespace

TouchKeyboard::TouchKeyboard(KeyboardSystem* keyboard)
    : m_keyboard(keyboard),
      m_area(GObjectRef<GtkWidget>::sink(gtk_drawing_area_new())),
      m_repeat([this] { repeat(); }) {
    GtkWidget* area = m_area.get();
    gtk_widget_set_focusable(area, FALSE);  // the page keeps the focus the strokes go to
    gtk_accessible_update_property(GTK_ACCESSIBLE(area), GTK_ACCESSIBLE_PROPERTY_LABEL, "Keys", -1);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(area), &TouchKeyboard::draw, this, nullptr);
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
    gtk_widget_add_controller(area, GTK_EVENT_CONTROLLER(click));
    m_pressedSignal = ScopedSignal(click, "pressed", G_CALLBACK(&TouchKeyboard::pressed), this);
    m_releasedSignal = ScopedSignal(click, "released", G_CALLBACK(&TouchKeyboard::released), this);
    // A press that another gesture or a grab takes away ends like a release: no key repeats
    // for ever.
    m_cancelSignal = ScopedSignal(click, "cancel",
                                  G_CALLBACK(+[](GtkGesture*, GdkEventSequence*, gpointer self) {
                                      static_cast<TouchKeyboard*>(self)->release();
                                  }),
                                  this);
    // Nor does a key held while the keyboard goes out of sight (its panel closed with another
    // finger).
    m_unmapSignal = ScopedSignal(area, "unmap", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                                     static_cast<TouchKeyboard*>(self)->release();
                                 }),
                                 this);
}

TouchKeyboard::~TouchKeyboard() {
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(m_area.get()), nullptr, nullptr, nullptr);
}

void TouchKeyboard::setDescription(const VirtualKeyLayout* description) {
    if (description != m_description) {
        release();
        m_description = description;
        refreshKeys();
    }
}

void TouchKeyboard::refreshKeys() {
    m_captions.clear();
    m_capsLock = m_keyboard != nullptr && m_keyboard->capsLockOn();
    gtk_widget_queue_draw(m_area.get());
}

std::vector<TouchKeyboard::PlacedKey> TouchKeyboard::placedKeys(double width, double height) const {
    std::vector<PlacedKey> placed;
    if (m_description == nullptr || m_description->rows.empty()) {
        return placed;
    }
    const double margin = height * 0.03;
    const double areaWidth = width - 2 * margin;
    const double rowHeight =
        (height - 2 * margin) / static_cast<double>(m_description->rows.size());
    double y = margin;
    for (const std::vector<VirtualKey>& row : m_description->rows) {
        double units = 0;
        for (const VirtualKey& key : row) {
            units += key.width;
        }
        const double unit = units > 0 ? areaWidth / units : 0;
        double x = margin;
        for (const VirtualKey& key : row) {
            if (!isSpacer(key)) {
                placed.push_back({&key, x, y, key.width * unit, rowHeight});
            }
            x += key.width * unit;
        }
        y += rowHeight;
    }
    return placed;
}

// Every key's place grows in proportion to the keyboard's height (its width follows the
// description), the inset around its face stays: measured at one height, each key tells the
// height its face needs.
int TouchKeyboard::heightForKeys(int keySize) const {
    if (m_description == nullptr || m_description->height <= 0) {
        return 0;
    }
    constexpr int Reference = 1000;
    double needed = 0;
    for (const PlacedKey& placed :
         placedKeys(keyboardWidthFor(Reference, *m_description), Reference)) {
        const double side = std::min(placed.width, placed.height);
        if (side > 0) {
            needed = std::max(needed, (keySize + 2 * KeyInset) * Reference / side);
        }
    }
    return static_cast<int>(std::ceil(needed));
}

const VirtualKey* TouchKeyboard::keyAt(double x, double y) const {
    for (const PlacedKey& placed :
         placedKeys(gtk_widget_get_width(m_area.get()), gtk_widget_get_height(m_area.get()))) {
        if (x >= placed.x && x < placed.x + placed.width && y >= placed.y &&
            y < placed.y + placed.height) {
            return placed.key;
        }
    }
    return nullptr;
}

std::string TouchKeyboard::caption(const VirtualKey& key) {
    if (const char* word = functionKeyCaption(key.name)) {
        return word;
    }
    const std::string cacheKey =
        std::to_string(int{m_shift}) + std::to_string(int{m_altGr}) + key.name;
    if (auto cached = m_captions.find(cacheKey); cached != m_captions.end()) {
        return cached->second;
    }
    std::string text =
        m_keyboard != nullptr ? trimmed(m_keyboard->keyCaption(key.name, m_shift, m_altGr)) : "";
    m_captions.emplace(cacheKey, text);
    return text;
}

bool TouchKeyboard::isLatched(const VirtualKey& key) const {
    return (isShift(key.name) && m_shift) || (key.name == "RALT" && m_altGr) ||
           (key.name == "CAPS" && m_capsLock);
}

void TouchKeyboard::draw(GtkDrawingArea*, cairo_t* cairo, int width, int height, gpointer self) {
    auto* keyboard = static_cast<TouchKeyboard*>(self);
    verticalGradient(cairo, 0, height, rgb(0x808080), rgb(0xC0C0C0));  // gray to silver
    cairo_paint(cairo);
    const std::vector<PlacedKey> keys = keyboard->placedKeys(width, height);
    PangoLayout* layout = pango_cairo_create_layout(cairo);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    const int fontPixels =
        std::max(8, keys.empty() ? 12 : static_cast<int>(keys.front().height * 0.38));
    pango_font_description_set_absolute_size(font, fontPixels * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    cairo_set_line_width(cairo, 1);
    for (const PlacedKey& placed : keys) {
        const double x = placed.x + KeyInset;
        const double y = placed.y + KeyInset;
        const double faceWidth = placed.width - 2 * KeyInset;
        const double faceHeight = placed.height - 2 * KeyInset;
        if (faceWidth <= 0 || faceHeight <= 0) {
            continue;
        }
        const bool pressed = placed.key == keyboard->m_pressed;
        const bool latched = keyboard->isLatched(*placed.key);
        roundedRectangle(cairo, x, y, faceWidth, faceHeight,
                         std::min(faceHeight * 0.12, faceWidth / 2));
        verticalGradient(cairo, y, y + faceHeight,
                         pressed   ? rgb(0x9EC3F0)
                         : latched ? rgb(0xC6DDF8)
                                   : rgb(0xFDFDFD),
                         pressed   ? rgb(0x6FA3E0)
                         : latched ? rgb(0x9EC3F0)
                                   : rgb(0xDDDDDD));
        cairo_fill_preserve(cairo);
        cairo_set_source_rgb(cairo, 0x5A / 255.0, 0x5A / 255.0, 0x5A / 255.0);
        cairo_stroke(cairo);
        const std::string text = keyboard->caption(*placed.key);
        if (text.empty()) {
            continue;
        }
        pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
        int textWidth = 0;
        int textHeight = 0;
        pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
        cairo_save(cairo);
        cairo_rectangle(cairo, x, y, faceWidth, faceHeight);
        cairo_clip(cairo);
        cairo_set_source_rgb(cairo, 0x1E / 255.0, 0x1E / 255.0, 0x1E / 255.0);
        cairo_move_to(cairo, x + (faceWidth - textWidth) / 2, y + (faceHeight - textHeight) / 2);
        pango_cairo_show_layout(cairo, layout);
        cairo_restore(cairo);
    }
    g_object_unref(layout);
}

void TouchKeyboard::pressed(GtkGestureClick*, int, double x, double y, gpointer self) {
    auto* keyboard = static_cast<TouchKeyboard*>(self);
    keyboard->m_repeat.stop();
    keyboard->m_pressed = keyboard->keyAt(x, y);
    if (keyboard->m_pressed == nullptr) {
        return;
    }
    keyboard->press(*keyboard->m_pressed);
    if (!isModifier(keyboard->m_pressed->name)) {
        keyboard->m_repeat.start(RepeatDelayMs);
    }
    gtk_widget_queue_draw(keyboard->m_area.get());
}

void TouchKeyboard::released(GtkGestureClick*, int, double, double, gpointer self) {
    static_cast<TouchKeyboard*>(self)->release();
}

void TouchKeyboard::release() {
    m_repeat.stop();
    if (m_pressed != nullptr) {
        m_pressed = nullptr;
        gtk_widget_queue_draw(m_area.get());
    }
}

// After the first delay the key comes at the repeat rate.
void TouchKeyboard::repeat() {
    m_repeat.start(RepeatIntervalMs);
    if (m_pressed != nullptr && m_keyboard != nullptr) {
        m_keyboard->typeKey(m_pressed->name, false, false);
    }
}

void TouchKeyboard::press(const VirtualKey& key) {
    if (m_keyboard == nullptr) {
        return;
    }
    if (isShift(key.name)) {
        m_shift = !m_shift;
    } else if (key.name == "RALT") {
        m_altGr = !m_altGr;
    } else if (key.name == "CAPS") {
        m_keyboard->typeKey(key.name, false, false);
        m_captions.clear();
        m_capsLock = !m_capsLock;
    } else {
        m_keyboard->typeKey(key.name, m_shift, m_altGr);
        m_shift = false;
        m_altGr = false;
    }
}

}  // namespace plintor
