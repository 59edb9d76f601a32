#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plintor {

// One input language of the session, as the language buttons show it.
struct InputLanguage {
    // A Windows-style input-locale value: the low 16 bits identify the language and country
    // (0x0407 for German in Germany), the high 16 bits the layout.
    std::uint32_t handle = 0;
    std::string languageCode;   // "de"
    std::string countryCode;    // "DE"
    std::string localizedName;  // "German (Germany)"
    std::string nativeName;     // "Deutsch"
};

// The keyboard of the session: its input languages, the captions of its keys in the active
// language, and key strokes sent as if typed on it. Keys are named by their XKB names (AE01,
// LFSH, SPCE...).
class KeyboardSystem {
public:
    virtual ~KeyboardSystem() = default;

    // In the session's order.
    virtual std::vector<InputLanguage> installedLanguages() = 0;
    virtual std::uint32_t currentLanguage() = 0;
    // Makes the language active for every program of the session.
    virtual void activateLanguage(std::uint32_t handle) = 0;
    // The active language as language code, "-", country code ("de-DE"); empty when unknown.
    virtual std::string currentLocaleName() = 0;

    // What the key types in the active language with these modifiers; empty for a key that
    // types nothing or does not exist.
    virtual std::string keyCaption(const std::string& keyName, bool shift, bool altGr) = 0;
    virtual bool capsLockOn() = 0;
    // Presses and releases the key, with Shift and AltGr held around it when asked.
    virtual void typeKey(const std::string& keyName, bool shift, bool altGr) = 0;
};

}  // namespace plintor
