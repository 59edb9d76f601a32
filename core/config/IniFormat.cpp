#include "core/config/IniFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/support/TextCase.h"

namespace plintor {

const TIniFormatSettings IniFormatSettings = {
    .DateSeparator = '/',
    .TimeSeparator = ':',
    .DecimalSeparator = '.',
    .ShortDateFormat = "m/d/yyyy",
    .LongTimeFormat = "h:mm:ss",
    .TimeAMString = "am",
    .TimePMString = "pm",
    .TwoDigitYearCenturyWindow = 50,
};

namespace {

// Walks a value left to right; every Scan step either consumes its element or leaves the
// position where it was.
class TScanner {
public:
    explicit TScanner(std::string_view text) : FText(text) {}

    bool AtEnd() const { return FPos >= FText.size(); }
    void SkipBlanks() {
        while (!AtEnd() && FText[FPos] == ' ') {
            ++FPos;
        }
    }

    bool ScanChar(char c) {
        if (!AtEnd() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    // Blanks before the number are skipped; `digits` receives how many digits were read.
    std::optional<int> ScanNumber(int maxDigits, int* digits = nullptr) {
        const std::size_t start = FPos;
        SkipBlanks();
        int value = 0;
        int count = 0;
        while (!AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9' && count < maxDigits) {
            value = value * 10 + (FText[FPos] - '0');
            ++FPos;
            ++count;
        }
        if (count == 0 || (!AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9')) {
            FPos = start;
            return std::nullopt;
        }
        if (digits != nullptr) {
            *digits = count;
        }
        return value;
    }

    // "am" or "pm" in any letter case; true in `pm` for the afternoon.
    bool ScanDesignator(bool& pm) {
        const std::size_t start = FPos;
        SkipBlanks();
        const std::string_view rest = FText.substr(FPos);
        for (const bool afternoon : {false, true}) {
            const std::string_view designator =
                afternoon ? IniFormatSettings.TimePMString : IniFormatSettings.TimeAMString;
            if (StartsWithNoCase(rest, designator)) {
                FPos += designator.size();
                pm = afternoon;
                return true;
            }
        }
        FPos = start;
        return false;
    }

private:
    std::string_view FText;
    std::size_t FPos = 0;
};

std::optional<TDateTime> ScanTime(TScanner& scanner) {
    bool pm = false;
    bool hasDesignator = scanner.ScanDesignator(pm);
    std::optional<int> hour = scanner.ScanNumber(4);
    if (!hour) {
        return std::nullopt;
    }
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    for (int* part : {&minute, &second}) {
        if (!scanner.ScanChar(IniFormatSettings.TimeSeparator)) {
            break;
        }
        const std::optional<int> number = scanner.ScanNumber(4);
        if (!number) {
            return std::nullopt;
        }
        *part = *number;
    }
    if (scanner.ScanChar(IniFormatSettings.DecimalSeparator)) {
        const std::optional<int> number = scanner.ScanNumber(4);
        if (!number) {
            return std::nullopt;
        }
        millisecond = *number;
    }
    if (!hasDesignator) {
        hasDesignator = scanner.ScanDesignator(pm);
    }
    if (hasDesignator) {
        if (*hour < 1 || *hour > 12) {
            return std::nullopt;
        }
        *hour = (*hour % 12) + (pm ? 12 : 0);
    }
    if (!IsValidTime(*hour, minute, second, millisecond)) {
        return std::nullopt;
    }
    return EncodeTime(*hour, minute, second, millisecond);
}

int ExpandTwoDigitYear(int year, int currentYear) {
    const int threshold = currentYear - IniFormatSettings.TwoDigitYearCenturyWindow;
    year += threshold / 100 * 100;
    return year < threshold ? year + 100 : year;
}

std::optional<TDateTime> ScanDate(TScanner& scanner, int currentYear) {
    const std::optional<int> month = scanner.ScanNumber(2);
    if (!month || !scanner.ScanChar(IniFormatSettings.DateSeparator)) {
        return std::nullopt;
    }
    const std::optional<int> day = scanner.ScanNumber(2);
    if (!day) {
        return std::nullopt;
    }
    int year = currentYear;
    if (scanner.ScanChar(IniFormatSettings.DateSeparator)) {
        int digits = 0;
        const std::optional<int> number = scanner.ScanNumber(4, &digits);
        if (!number) {
            return std::nullopt;
        }
        year = digits <= 2 ? ExpandTwoDigitYear(*number, currentYear) : *number;
    }
    if (!IsValidDate(year, *month, *day)) {
        return std::nullopt;
    }
    return EncodeDate(year, *month, *day);
}

std::optional<TDateTime> Finished(TScanner& scanner, std::optional<TDateTime> value) {
    scanner.SkipBlanks();
    return value && scanner.AtEnd() ? value : std::nullopt;
}

// Optional sign, digits with an optional fraction, optional exponent; nothing else.
bool IsFloatText(std::string_view text) {
    std::size_t i = 0;
    auto digitsFrom = [&](std::size_t& pos) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
        }
        return pos - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t mantissaDigits = digitsFrom(i);
    if (i < text.size() && text[i] == IniFormatSettings.DecimalSeparator) {
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (digitsFrom(i) == 0) {
            return false;
        }
    }
    return i == text.size();
}

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::optional<TDateTime> ParseIniTime(std::string_view text) {
    TScanner scanner(text);
    return Finished(scanner, ScanTime(scanner));
}

std::optional<TDateTime> ParseIniDate(std::string_view text, int currentYear) {
    TScanner scanner(text);
    return Finished(scanner, ScanDate(scanner, currentYear));
}

std::optional<TDateTime> ParseIniDateTime(std::string_view text, int currentYear) {
    TScanner scanner(text);
    std::optional<TDateTime> date = ScanDate(scanner, currentYear);
    if (!date) {
        return std::nullopt;
    }
    scanner.SkipBlanks();
    if (scanner.AtEnd()) {
        return date;
    }
    const std::optional<TDateTime> time = ScanTime(scanner);
    return Finished(scanner, time ? std::optional<TDateTime>(*date + *time) : std::nullopt);
}

std::optional<double> ParseIniFloat(std::string_view text) {
    if (!IsFloatText(text)) {
        return std::nullopt;
    }
    const bool plus = text.starts_with('+');
    double value = 0;
    const char* first = text.data() + (plus ? 1 : 0);
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseIniCurrency(std::string_view text) {
    if (!IsFloatText(text)) {
        return std::nullopt;
    }
    // Decimal arithmetic on the digits, so 12.34565 rounds to 12.3457 as written.
    const bool negative = text.starts_with('-');
    std::string digits;
    int pointAt = -1;
    int exponent = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == IniFormatSettings.DecimalSeparator) {
            pointAt = static_cast<int>(digits.size());
        } else if (c == 'e' || c == 'E') {
            std::string_view power = text.substr(i + 1);
            if (power.starts_with('+')) {
                power.remove_prefix(1);
            }
            const auto [end, error] =
                std::from_chars(power.data(), power.data() + power.size(), exponent);
            if (error != std::errc() || exponent > 30 || exponent < -30) {
                return std::nullopt;
            }
            break;
        }
    }
    const int integerDigits = (pointAt < 0 ? static_cast<int>(digits.size()) : pointAt) + exponent;
    std::int64_t scaled = 0;
    for (int i = 0; i < integerDigits + 4; ++i) {
        const int digit = i < static_cast<int>(digits.size()) ? digits[i] - '0' : 0;
        if (scaled > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        scaled = scaled * 10 + digit;
    }
    const int roundingIndex = integerDigits + 4;
    if (roundingIndex >= 0 && roundingIndex < static_cast<int>(digits.size()) &&
        digits[roundingIndex] >= '5' && scaled < std::numeric_limits<std::int64_t>::max()) {
        ++scaled;
    }
    return negative ? -scaled : scaled;
}

std::string FormatIniTime(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    return std::to_string(parts.Hour) + IniFormatSettings.TimeSeparator + TwoDigits(parts.Minute) +
           IniFormatSettings.TimeSeparator + TwoDigits(parts.Second);
}

std::string FormatIniDate(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    return std::to_string(parts.Month) + IniFormatSettings.DateSeparator +
           std::to_string(parts.Day) + IniFormatSettings.DateSeparator + std::to_string(parts.Year);
}

std::string FormatIniDateTime(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    const bool midnight =
        parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0 && parts.Millisecond == 0;
    return midnight ? FormatIniDate(value) : FormatIniDate(value) + ' ' + FormatIniTime(value);
}

std::string FormatIniFloat(double value) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, error == std::errc() ? end : buffer);
    // Exponents read "1E20" and "1.5E-5": no plus sign, no leading zeros, upper-case E.
    const std::size_t e = text.find('e');
    if (e != std::string::npos) {
        std::string exponent = text.substr(e + 1);
        const bool negative = exponent.starts_with('-');
        exponent.erase(0, exponent.find_first_not_of("+-0"));
        text =
            text.substr(0, e) + 'E' + (negative ? "-" : "") + (exponent.empty() ? "0" : exponent);
    }
    return text;
}

std::string FormatIniCurrency(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty()) {
        text += IniFormatSettings.DecimalSeparator + fraction;
    }
    return text;
}

}  // namespace plintor
