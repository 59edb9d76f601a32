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
#include "platform/x11/LinuxServices.h"
#include "platform/x11/X11Connection.h"

namespace plintor {
namespace {

template <typename T, void (*Free)(T*)>
struct TDeleter {
    void operator()(T* object) const { Free(object); }
};
using TKeymap = std::unique_ptr<xkb_keymap, TDeleter<xkb_keymap, xkb_keymap_unref>>;
using TState = std::unique_ptr<xkb_state, TDeleter<xkb_state, xkb_state_unref>>;
using TXkbContext = std::unique_ptr<xkb_context, TDeleter<xkb_context, xkb_context_unref>>;

void UnrefRegistry(rxkb_context* context) {
    rxkb_context_unref(context);
}
using TRegistry = std::unique_ptr<rxkb_context, TDeleter<rxkb_context, UnrefRegistry>>;

struct TLayoutName {
    std::string Layout;   // "de"
    std::string Variant;  // "nodeadkeys", or empty

    bool operator==(const TLayoutName&) const = default;
};

std::vector<std::string> SplitComma(const std::string& text) {
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
std::vector<TLayoutName> ConfiguredLayouts(Display* display) {
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<TLayoutName> layouts;
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
        const std::vector<std::string> layoutNames = SplitComma(fields[2]);
        const std::vector<std::string> variants = SplitComma(fields[3]);
        for (std::size_t i = 0; i < layoutNames.size(); ++i) {
            layouts.push_back({layoutNames[i], i < variants.size() ? variants[i] : std::string()});
        }
    }
    return layouts;
}

// ISO 639-2/3 ("deu", also the older "ger") to ISO 639-1 ("de"), through ICU's own list.
std::string TwoLetterLanguage(const std::string& threeLetters) {
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
std::string DeadKeyCaption(xkb_keysym_t keysym) {
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

std::string UpperFirst(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string Utf8(const UChar* text, int32_t length) {
    std::string out;
    for (int32_t i = 0; i < length; ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        AppendUtf8(out, cp);
    }
    return out;
}

// The names of a locale: in the user interface's language (English) and in its own.
void Describe(TInputLanguage& language) {
    const std::string locale = language.LanguageCode + "_" + language.CountryCode;
    UChar buffer[256];
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = uloc_getDisplayName(locale.c_str(), "en", buffer, 256, &status);
    if (U_SUCCESS(status)) {
        language.LocalizedName = UpperFirst(Utf8(buffer, length));
    }
    status = U_ZERO_ERROR;
    length = uloc_getDisplayLanguage(locale.c_str(), locale.c_str(), buffer, 256, &status);
    if (U_SUCCESS(status)) {
        language.NativeName = UpperFirst(Utf8(buffer, length));
    }
}

class TXkbKeyboardSystem final : public IKeyboardSystem {
public:
    explicit TXkbKeyboardSystem(TDisplayHandle display) : FDisplay(std::move(display)) {}

    // Read again only when the session configures other layouts: the registry is large.
    std::vector<TInputLanguage> InstalledLanguages() override {
        const std::vector<TLayoutName> layouts = ConfiguredLayouts(FDisplay.get());
        if (layouts != FLayouts || FLanguages.empty()) {
            FLayouts = layouts;
            FLanguages = ReadLanguages(layouts);
        }
        return FLanguages;
    }

    std::uint32_t CurrentLanguage() override {
        const std::vector<TInputLanguage> languages = InstalledLanguages();
        const int group = CurrentGroup();
        return group >= 0 && group < static_cast<int>(languages.size()) ? languages[group].Handle
                                                                        : 0;
    }

    void ActivateLanguage(std::uint32_t handle) override {
        const std::vector<TInputLanguage> languages = InstalledLanguages();
        for (std::size_t group = 0; group < languages.size(); ++group) {
            if (languages[group].Handle == handle) {
                XkbLockGroup(FDisplay.get(), XkbUseCoreKbd, static_cast<unsigned int>(group));
                XFlush(FDisplay.get());
                return;
            }
        }
    }

    std::string CurrentLocaleName() override {
        const std::vector<TInputLanguage> languages = InstalledLanguages();
        const int group = CurrentGroup();
        if (group < 0 || group >= static_cast<int>(languages.size()) ||
            languages[group].LanguageCode.empty() || languages[group].CountryCode.empty()) {
            return {};
        }
        return languages[group].LanguageCode + "-" + languages[group].CountryCode;
    }

    std::string KeyCaption(const std::string& keyName, bool shift, bool altGr) override {
        TState state = StateOf(shift, altGr);
        const xkb_keycode_t key =
            state ? xkb_keymap_key_by_name(FKeymap.get(), keyName.c_str()) : XKB_KEYCODE_INVALID;
        if (key == XKB_KEYCODE_INVALID) {
            return {};
        }
        char text[64];
        const int length = xkb_state_key_get_utf8(state.get(), key, text, sizeof text);
        if (length > 0) {
            return std::string(text, static_cast<std::size_t>(length));
        }
        return DeadKeyCaption(xkb_state_key_get_one_sym(state.get(), key));
    }

    bool CapsLockOn() override {
        XkbStateRec state{};
        return XkbGetState(FDisplay.get(), XkbUseCoreKbd, &state) == Success &&
               (state.locked_mods & LockMask) != 0;
    }

    void TypeKey(const std::string& keyName, bool shift, bool altGr) override {
        if (!LoadKeymap()) {
            return;
        }
        const xkb_keycode_t key = xkb_keymap_key_by_name(FKeymap.get(), keyName.c_str());
        if (key == XKB_KEYCODE_INVALID) {
            return;
        }
        const xkb_keycode_t shiftKey = xkb_keymap_key_by_name(FKeymap.get(), "LFSH");
        const xkb_keycode_t altGrKey = xkb_keymap_key_by_name(FKeymap.get(), "RALT");
        Display* display = FDisplay.get();
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
    static std::vector<TInputLanguage> ReadLanguages(const std::vector<TLayoutName>& layouts) {
        std::vector<TInputLanguage> languages;
        TRegistry registry(rxkb_context_new(RXKB_CONTEXT_NO_FLAGS));
        const bool parsed = registry && rxkb_context_parse_default_ruleset(registry.get());
        for (std::size_t group = 0; group < layouts.size(); ++group) {
            TInputLanguage language;
            if (parsed) {
                FindInRegistry(registry.get(), layouts[group], language);
            }
            language.Handle = Handle(language, layouts[group], static_cast<int>(group));
            Describe(language);
            languages.push_back(std::move(language));
        }
        return languages;
    }

    static void FindInRegistry(rxkb_context* registry, const TLayoutName& name,
                               TInputLanguage& language) {
        for (rxkb_layout* layout = rxkb_layout_first(registry); layout != nullptr;
             layout = rxkb_layout_next(layout)) {
            const char* variant = rxkb_layout_get_variant(layout);
            if (name.Layout != rxkb_layout_get_name(layout) ||
                name.Variant != (variant != nullptr ? variant : "")) {
                continue;
            }
            if (rxkb_iso639_code* code = rxkb_layout_get_iso639_first(layout)) {
                language.LanguageCode = TwoLetterLanguage(rxkb_iso639_code_get_code(code));
            }
            if (rxkb_iso3166_code* code = rxkb_layout_get_iso3166_first(layout)) {
                language.CountryCode = rxkb_iso3166_code_get_code(code);
            }
            return;
        }
    }

    // The language identifier in the low word; the high word tells layouts of one language
    // apart (the identifier again for a plain layout, as the system does for its defaults).
    static std::uint32_t Handle(const TInputLanguage& language, const TLayoutName& name,
                                int group) {
        const std::string locale = language.LanguageCode + "_" + language.CountryCode;
        const std::uint32_t identifier =
            language.LanguageCode.empty() ? 0 : uloc_getLCID(locale.c_str()) & 0xFFFF;
        const std::uint32_t layout =
            name.Variant.empty() ? identifier : 0xF000u + static_cast<std::uint32_t>(group);
        return (layout << 16) | identifier;
    }

    int CurrentGroup() {
        XkbStateRec state{};
        return XkbGetState(FDisplay.get(), XkbUseCoreKbd, &state) == Success ? state.group : -1;
    }

    bool LoadKeymap() {
        xcb_connection_t* connection = XGetXCBConnection(FDisplay.get());
        if (!FContext) {
            FContext.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
            if (!FContext || !xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                          XKB_X11_MIN_MINOR_XKB_VERSION,
                                                          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                                          nullptr, nullptr, nullptr, nullptr)) {
                return false;
            }
        }
        const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
        FKeymap.reset(device >= 0
                          ? xkb_x11_keymap_new_from_device(FContext.get(), connection, device,
                                                           XKB_KEYMAP_COMPILE_NO_FLAGS)
                          : nullptr);
        return FKeymap != nullptr;
    }

    // The keyboard state of the session with the given modifiers held down.
    TState StateOf(bool shift, bool altGr) {
        if (!LoadKeymap()) {
            return nullptr;
        }
        xcb_connection_t* connection = XGetXCBConnection(FDisplay.get());
        TState state(xkb_x11_state_new_from_device(
            FKeymap.get(), connection, xkb_x11_get_core_keyboard_device_id(connection)));
        for (const auto& [held, name] : {std::pair{shift, "LFSH"}, std::pair{altGr, "RALT"}}) {
            const xkb_keycode_t key = xkb_keymap_key_by_name(FKeymap.get(), name);
            if (state && held && key != XKB_KEYCODE_INVALID) {
                xkb_state_update_key(state.get(), key, XKB_KEY_DOWN);
            }
        }
        return state;
    }

    TDisplayHandle FDisplay;
    std::vector<TLayoutName> FLayouts;
    std::vector<TInputLanguage> FLanguages;
    TXkbContext FContext;
    TKeymap FKeymap;
};

}  // namespace

std::unique_ptr<IKeyboardSystem> ConnectXkbKeyboardSystem() {
    TDisplayHandle display = OpenDisplayHandle();
    if (!display) {
        return nullptr;
    }
    return std::make_unique<TXkbKeyboardSystem>(std::move(display));
}

}  // namespace plintor
