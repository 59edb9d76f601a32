#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/LocalTime.h"

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

// A flat key=value configuration file, read line by line in file order. Keys are found
// anywhere in the file (no sections, no comment syntax); the first occurrence wins.
class IniReader {
public:
    // The file decoded by its byte-order mark; raises a FileError when it cannot be read.
    static IniReader fromFile(const std::string& fileName);
    // Lines of decoded text.
    explicit IniReader(std::string_view text);

    bool hasKey(std::string_view key) const;
    std::string readString(std::string_view key, std::string_view defaultValue = {}) const;
    bool readBoolean(std::string_view key, bool defaultValue) const;
    std::int32_t readInteger(std::string_view key, std::int32_t defaultValue) const;
    // None when the key is missing or its value is no time of day.
    std::optional<TimeOfDay> readTime(std::string_view key) const;

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::optional<std::string> findValue(std::string_view key) const;

    std::vector<std::string> m_lines;
};

}  // namespace plintor
