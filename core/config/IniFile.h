#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/Clock.h"
#include "core/support/DateTime.h"

namespace plintor {

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// One line of a configuration file split at its first "=": the key trimmed and upper-cased
// (ASCII letters only), the value trimmed. A line without "=" has an empty key.
struct IniLine {
    std::string key;
    std::string value;
};
IniLine splitIniLine(std::string_view line);
std::string normaliseIniKey(std::string_view key);

// Decodes a whole file: by its byte-order mark when `encoding` is not given, else as
// `encoding` (its mark skipped).
std::string decodeIniText(std::string_view bytes, std::optional<TextEncoding> encoding);
// The same, split at CR, LF or CR LF, up to the first NUL.
std::vector<std::string> decodeIniLines(std::string_view bytes,
                                        std::optional<TextEncoding> encoding);

// A flat key=value file kept in memory line by line, in file order. Keys are found anywhere
// in the file (no sections, no comment syntax); the first occurrence wins.
class IniFile {
public:
    // Loads the file; a missing or unreadable file raises EFOpenError. With `canCreate` a
    // missing file (and its folders) is created empty first.
    IniFile(const std::string& fileName, bool canCreate,
            std::optional<TextEncoding> encoding = std::nullopt);
    // Lines from text; such an object is never saved.
    explicit IniFile(std::string_view text);

    bool hasKey(std::string_view key) const;
    std::string readString(std::string_view key, std::string_view defaultValue = {}) const;
    bool readBoolean(std::string_view key, bool defaultValue = false) const;
    std::int32_t readInteger(std::string_view key, std::int32_t defaultValue = 0) const;
    double readFloat(std::string_view key, double defaultValue = 0) const;
    std::int64_t readCurrency(std::string_view key, std::int64_t defaultValue = 0) const;
    DateTime readDate(std::string_view key, DateTime defaultValue = 0) const;
    DateTime readTime(std::string_view key, DateTime defaultValue = 0) const;
    DateTime readDateTime(std::string_view key, DateTime defaultValue = 0) const;

    void writeString(std::string_view key, std::string_view value);
    void writeBoolean(std::string_view key, bool value);
    void writeInteger(std::string_view key, std::int32_t value);
    void writeFloat(std::string_view key, double value);
    void writeCurrency(std::string_view key, std::int64_t tenThousandths);
    void writeDate(std::string_view key, DateTime value);
    void writeTime(std::string_view key, DateTime value);
    void writeDateTime(std::string_view key, DateTime value);

    void deleteKey(std::string_view key);
    void clear();

    // Writes every line with CR LF, preceded by the encoding's byte-order mark; raises
    // EFCreateError or EWriteError. Does nothing for an object built from text.
    void saveIniFile(std::optional<TextEncoding> encoding = std::nullopt) const;

    const std::vector<std::string>& lines() const { return m_buffer; }

    // Two-digit years of dates are read relative to this clock's year (the system's by default).
    void useClock(const Clock& clock) { m_clock = &clock; }

private:
    std::optional<std::string> findValue(std::string_view key) const;

    std::string m_fileName;
    std::vector<std::string> m_buffer;
    const Clock* m_clock = &systemClock();
};

}  // namespace plintor
