// Input languages are the groups of the session's XKB keymap; their language and country come
// from the XKB rules registry, their identifiers and names from ICU. Captions come from the
// keymap through libxkbcommon; key strokes go through XTest, so they follow the active group.
#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <unicode/uloc.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>
#include <xkbcommon/xkbregistry.h>

#include <memory>
#include <sstream>

#include "core/support/TextCodec.h"
#include "platform/KeyboardSystem.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/x11/X11Connection.h"

namespace plintor {
namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* object) const { Free(object); }
};
using XkbKeymap = std::unique_ptr<xkb_keymap, Deleter<xkb_keymap, xkb_keymap_unref>>;
using XkbState = std::unique_ptr<xkb_state, Deleter<xkb_state, xkb_state_unref>>;
using XkbContext = std::unique_ptr<xkb_context, Deleter<xkb_context, xkb_context_unref>>;

void unrefRegistry(rxkb_context* context) {
    rxkb_context_unref(context);
}
using Registry = std::unique_ptr<rxkb_context, Deleter<rxkb_context, unrefRegistry>>;

struct LayoutName {
    std::string layout;   // "de"
    std::string variant;  // "nodeadkeys", or empty

    bool operator==(const LayoutName&) const = default;
};

std::vector<std::string> splitComma(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, ',')) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == ',') {
        parts.emplace_back();
    }
    return parts;
}

// The layouts of the keymap as the session configured them (_XKB_RULES_NAMES: rules, model,
// layouts, variants, options).
std::vector<LayoutName> configuredLayouts(Display* display) {
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<LayoutName> layouts;
    if (names == None ||
        XGetWindowProperty(display, DefaultRootWindow(display), names, 0, 4096, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) != Success) {
        return layouts;
    }
    std::vector<std::string> fields;
    for (unsigned long start = 0; data != nullptr && start <= count;) {
        const std::string field(reinterpret_cast<const char*>(data) + start);
        fields.push_back(field);
        start += field.size() + 1;
    }
    if (data != nullptr) {
        XFree(data);
    }
    if (fields.size() >= 4) {
        const std::vector<std::string> layoutNames = splitComma(fields[2]);
        const std::vector<std::string> variants = splitComma(fields[3]);
        for (std::size_t i = 0; i < layoutNames.size(); ++i) {
            layouts.push_back({layoutNames[i], i < variants.size() ? variants[i] : std::string()});
        }
    }
    return layouts;
}

// ISO 639-2/3 ("deu", also the older "ger") to ISO 639-1 ("de"), through ICU's own list.
std::string twoLetterLanguage(const std::string& threeLetters) {
    static const std::pair<const char*, const char*> kBibliographic[] = {
        {"ger", "deu"}, {"fre", "fra"}, {"dut", "nld"}, {"chi", "zho"}, {"cze", "ces"},
        {"gre", "ell"}, {"per", "fas"}, {"rum", "ron"}, {"slo", "slk"}, {"alb", "sqi"},
        {"arm", "hye"}, {"baq", "eus"}, {"bur", "mya"}, {"geo", "kat"}, {"ice", "isl"},
        {"mac", "mkd"}, {"mao", "mri"}, {"may", "msa"}, {"tib", "bod"}, {"wel", "cym"}};
    std::string wanted = threeLetters;
    for (const auto& [bibliographic, terminology] : kBibliographic) {
        if (wanted == bibliographic) {
            wanted = terminology;
        }
    }
    if (wanted.size() == 2) {
        return wanted;
    }
    for (const char* const* language = uloc_getISOLanguages(); *language != nullptr; ++language) {
        if (wanted == uloc_getISO3Language(*language)) {
            return *language;
        }
    }
    return {};
}

// A dead key types nothing by itself; it shows the accent it puts on the next letter.
std::string deadKeyCaption(xkb_keysym_t keysym) {
    static const std::pair<xkb_keysym_t, const char*> kAccents[] = {
        {XKB_KEY_dead_grave, "`"},          {XKB_KEY_dead_acute, "\u00B4"},
        {XKB_KEY_dead_circumflex, "^"},     {XKB_KEY_dead_tilde, "~"},
        {XKB_KEY_dead_macron, "\u00AF"},    {XKB_KEY_dead_breve, "\u02D8"},
        {XKB_KEY_dead_abovedot, "\u02D9"},  {XKB_KEY_dead_diaeresis, "\u00A8"},
        {XKB_KEY_dead_abovering, "\u00B0"}, {XKB_KEY_dead_doubleacute, "\u02DD"},
        {XKB_KEY_dead_caron, "\u02C7"},     {XKB_KEY_dead_cedilla, "\u00B8"},
        {XKB_KEY_dead_ogonek, "\u02DB"}};
    for (const auto& [dead, accent] : kAccents) {
        if (dead == keysym) {
            return accent;
        }
    }
    return {};
}

std::string upperFirst(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string utf8(const UChar* text, int32_t length) {
    std::string out;
    for (int32_t i = 0; i < length; ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        appendUtf8(out, cp);
    }
    return out;
}

// The names of a locale: in the user interface's language (English) and in its own.
void describe(InputLanguage& language) {
    const std::string locale = language.languageCode + "_" + language.countryCode;
    UChar buffer[256];
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = uloc_getDisplayName(locale.c_str(), "en", buffer, 256, &status);
    if (U_SUCCESS(status)) {
        language.localizedName = upperFirst(utf8(buffer, length));
    }
    status = U_ZERO_ERROR;
    length = uloc_getDisplayLanguage(locale.c_str(), locale.c_str(), buffer, 256, &status);
    if (U_SUCCESS(status)) {
        language.nativeName = upperFirst(utf8(buffer, length));
    }
}

class XkbKeyboardSystem final : public KeyboardSystem {
public:
    explicit XkbKeyboardSystem(DisplayHandle display) : m_display(std::move(display)) {}

    // Read again only when the session configures other layouts: the registry is large.
    std::vector<InputLanguage> installedLanguages() override {
        const std::vector<LayoutName> layouts = configuredLayouts(m_display.get());
        if (layouts != m_layouts || m_languages.empty()) {
            m_layouts = layouts;
            m_languages = readLanguages(layouts);
        }
        return m_languages;
    }

    std::uint32_t currentLanguage() override {
        const std::vector<InputLanguage> languages = installedLanguages();
        const int group = currentGroup();
        return group >= 0 && group < static_cast<int>(languages.size()) ? languages[group].handle
                                                                        : 0;
    }

    void activateLanguage(std::uint32_t handle) override {
        const std::vector<InputLanguage> languages = installedLanguages();
        for (std::size_t group = 0; group < languages.size(); ++group) {
            if (languages[group].handle == handle) {
                XkbLockGroup(m_display.get(), XkbUseCoreKbd, static_cast<unsigned int>(group));
                XFlush(m_display.get());
                return;
            }
        }
    }

    std::string currentLocaleName() override {
        const std::vector<InputLanguage> languages = installedLanguages();
        const int group = currentGroup();
        if (group < 0 || group >= static_cast<int>(languages.size()) ||
            languages[group].languageCode.empty() || languages[group].countryCode.empty()) {
            return {};
        }
        return languages[group].languageCode + "-" + languages[group].countryCode;
    }

    std::string keyCaption(const std::string& keyName, bool shift, bool altGr) override {
        XkbState state = stateOf(shift, altGr);
        const xkb_keycode_t key =
            state ? xkb_keymap_key_by_name(m_keymap.get(), keyName.c_str()) : XKB_KEYCODE_INVALID;
        if (key == XKB_KEYCODE_INVALID) {
            return {};
        }
        char text[64];
        const int length = xkb_state_key_get_utf8(state.get(), key, text, sizeof text);
        if (length > 0) {
            return std::string(text, static_cast<std::size_t>(length));
        }
        return deadKeyCaption(xkb_state_key_get_one_sym(state.get(), key));
    }

    bool capsLockOn() override {
        XkbStateRec state{};
        return XkbGetState(m_display.get(), XkbUseCoreKbd, &state) == Success &&
               (state.locked_mods & LockMask) != 0;
    }

    void typeKey(const std::string& keyName, bool shift, bool altGr) override {
        if (!loadKeymap()) {
            return;
        }
        const xkb_keycode_t key = xkb_keymap_key_by_name(m_keymap.get(), keyName.c_str());
        if (key == XKB_KEYCODE_INVALID) {
            return;
        }
        const xkb_keycode_t shiftKey = xkb_keymap_key_by_name(m_keymap.get(), "LFSH");
        const xkb_keycode_t altGrKey = xkb_keymap_key_by_name(m_keymap.get(), "RALT");
        Display* display = m_display.get();
        if (shift && shiftKey != XKB_KEYCODE_INVALID) {
            XTestFakeKeyEvent(display, shiftKey, True, CurrentTime);
        }
        if (altGr && altGrKey != XKB_KEYCODE_INVALID) {
            XTestFakeKeyEvent(display, altGrKey, True, CurrentTime);
        }
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        if (altGr && altGrKey != XKB_KEYCODE_INVALID) {
            XTestFakeKeyEvent(display, altGrKey, False, CurrentTime);
        }
        if (shift && shiftKey != XKB_KEYCODE_INVALID) {
            XTestFakeKeyEvent(display, shiftKey, False, CurrentTime);
        }
        XFlush(display);
    }

private:
    static std::vector<InputLanguage> readLanguages(const std::vector<LayoutName>& layouts) {
        std::vector<InputLanguage> languages;
        Registry registry(rxkb_context_new(RXKB_CONTEXT_NO_FLAGS));
        const bool parsed = registry && rxkb_context_parse_default_ruleset(registry.get());
        for (std::size_t group = 0; group < layouts.size(); ++group) {
            InputLanguage language;
            if (parsed) {
                findInRegistry(registry.get(), layouts[group], language);
            }
            language.handle = handle(language, layouts[group], static_cast<int>(group));
            describe(language);
            languages.push_back(std::move(language));
        }
        return languages;
    }

    static void findInRegistry(rxkb_context* registry, const LayoutName& name,
                               InputLanguage& language) {
        for (rxkb_layout* layout = rxkb_layout_first(registry); layout != nullptr;
             layout = rxkb_layout_next(layout)) {
            const char* variant = rxkb_layout_get_variant(layout);
            if (name.layout != rxkb_layout_get_name(layout) ||
                name.variant != (variant != nullptr ? variant : "")) {
                continue;
            }
            if (rxkb_iso639_code* code = rxkb_layout_get_iso639_first(layout)) {
                language.languageCode = twoLetterLanguage(rxkb_iso639_code_get_code(code));
            }
            if (rxkb_iso3166_code* code = rxkb_layout_get_iso3166_first(layout)) {
                language.countryCode = rxkb_iso3166_code_get_code(code);
            }
            return;
        }
    }

    // The language identifier in the low word; the high word tells layouts of one language
    // apart (the identifier again for a plain layout, as the system does for its defaults).
    static std::uint32_t handle(const InputLanguage& language, const LayoutName& name, int group) {
        const std::string locale = language.languageCode + "_" + language.countryCode;
        const std::uint32_t identifier =
            language.languageCode.empty() ? 0 : uloc_getLCID(locale.c_str()) & 0xFFFF;
        const std::uint32_t layout =
            name.variant.empty() ? identifier : 0xF000u + static_cast<std::uint32_t>(group);
        return (layout << 16) | identifier;
    }

    int currentGroup() {
        XkbStateRec state{};
        return XkbGetState(m_display.get(), XkbUseCoreKbd, &state) == Success ? state.group : -1;
    }

    bool loadKeymap() {
        xcb_connection_t* connection = XGetXCBConnection(m_display.get());
        if (!m_context) {
            m_context.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
            if (!m_context ||
                !xkb_x11_setup_xkb_extension(
                    connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
                return false;
            }
        }
        const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
        m_keymap.reset(device >= 0
                           ? xkb_x11_keymap_new_from_device(m_context.get(), connection, device,
                                                            XKB_KEYMAP_COMPILE_NO_FLAGS)
                           : nullptr);
        return m_keymap != nullptr;
    }

    // The keyboard state of the session with the given modifiers held down.
    XkbState stateOf(bool shift, bool altGr) {
        if (!loadKeymap()) {
            return nullptr;
        }
        xcb_connection_t* connection = XGetXCBConnection(m_display.get());
        XkbState state(xkb_x11_state_new_from_device(
            m_keymap.get(), connection, xkb_x11_get_core_keyboard_device_id(connection)));
        for (const auto& [held, name] : {std::pair{shift, "LFSH"}, std::pair{altGr, "RALT"}}) {
            const xkb_keycode_t key = xkb_keymap_key_by_name(m_keymap.get(), name);
            if (state && held && key != XKB_KEYCODE_INVALID) {
                xkb_state_update_key(state.get(), key, XKB_KEY_DOWN);
            }
        }
        return state;
    }

    DisplayHandle m_display;
    std::vector<LayoutName> m_layouts;
    std::vector<InputLanguage> m_languages;
    XkbContext m_context;
    XkbKeymap m_keymap;
};

}  // namespace

std::unique_ptr<KeyboardSystem> connectXkbKeyboardSystem() {
    DisplayHandle display = openDisplayHandle();
    if (!display) {
        return nullptr;
    }
    return std::make_unique<XkbKeyboardSystem>(std::move(display));
}

}  // namespace plintor
