#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/Clock.h"
#include "core/support/DateTime.h"

namespace plintor {

enum class TTextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// One line of a configuration file split at its first "=": the key trimmed and upper-cased
// (ASCII letters only), the value trimmed. A line without "=" has an empty key.
struct TIniLine {
    std::string Key;
    std::string Value;
};
TIniLine SplitIniLine(std::string_view line);
std::string NormaliseIniKey(std::string_view key);

// Decodes a whole file: by its byte-order mark when `encoding` is not given, else as
// `encoding` (its mark skipped).
std::string DecodeIniText(std::string_view bytes, std::optional<TTextEncoding> encoding);
// The same, split at CR, LF or CR LF, up to the first NUL.
std::vector<std::string> DecodeIniLines(std::string_view bytes,
                                        std::optional<TTextEncoding> encoding);

// A flat key=value file kept in memory line by line, in file order. Keys are found anywhere
// in the file (no sections, no comment syntax); the first occurrence wins.
class TIni {
public:
    // Loads the file; a missing or unreadable file raises EFOpenError. With `canCreate` a
    // missing file (and its folders) is created empty first.
    TIni(const std::string& fileName, bool canCreate,
         std::optional<TTextEncoding> encoding = std::nullopt);
    // Lines from text; such an object is never saved.
    explicit TIni(std::string_view text);

    bool HasKey(std::string_view key) const;
    std::string ReadString(std::string_view key, std::string_view defaultValue = {}) const;
    bool ReadBoolean(std::string_view key, bool defaultValue = false) const;
    std::int32_t ReadInteger(std::string_view key, std::int32_t defaultValue = 0) const;
    double ReadFloat(std::string_view key, double defaultValue = 0) const;
    std::int64_t ReadCurrency(std::string_view key, std::int64_t defaultValue = 0) const;
    TDateTime ReadDate(std::string_view key, TDateTime defaultValue = 0) const;
    TDateTime ReadTime(std::string_view key, TDateTime defaultValue = 0) const;
    TDateTime ReadDateTime(std::string_view key, TDateTime defaultValue = 0) const;

    void WriteString(std::string_view key, std::string_view value);
    void WriteBoolean(std::string_view key, bool value);
    void WriteInteger(std::string_view key, std::int32_t value);
    void WriteFloat(std::string_view key, double value);
    void WriteCurrency(std::string_view key, std::int64_t tenThousandths);
    void WriteDate(std::string_view key, TDateTime value);
    void WriteTime(std::string_view key, TDateTime value);
    void WriteDateTime(std::string_view key, TDateTime value);

    void DeleteKey(std::string_view key);
    void Clear();

    // Writes every line with CR LF, preceded by the encoding's byte-order mark; raises
    // EFCreateError or EWriteError. Does nothing for an object built from text.
    void SaveIniFile(std::optional<TTextEncoding> encoding = std::nullopt) const;

    const std::vector<std::string>& Lines() const { return FBuffer; }

    // Two-digit years of dates are read relative to this clock's year (the system's by default).
    void UseClock(const IClock& clock) { FClock = &clock; }

private:
    std::optional<std::string> FindValue(std::string_view key) const;

    std::string FFileName;
    std::vector<std::string> FBuffer;
    const IClock* FClock = &SystemClock();
};

}  // namespace plintor
