#include "core/config/IniFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/support/TextCase.h"

namespace plintor {

const IniFormatSettings FixedFormatSettings = {
    .dateSeparator = '/',
    .timeSeparator = ':',
    .decimalSeparator = '.',
    .shortDateFormat = "m/d/yyyy",
    .longTimeFormat = "h:mm:ss",
    .timeAmString = "am",
    .timePmString = "pm",
    .twoDigitYearCenturyWindow = 50,
};

namespace {

// Walks a value left to right; every Scan step either consumes its element or leaves the
// position where it was.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipBlanks() {
        while (!atEnd() && m_text[m_pos] == ' ') {
            ++m_pos;
        }
    }

    bool scanChar(char c) {
        if (!atEnd() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // Blanks before the number are skipped; `digits` receives how many digits were read.
    std::optional<int> scanNumber(int maxDigits, int* digits = nullptr) {
        const std::size_t start = m_pos;
        skipBlanks();
        int value = 0;
        int count = 0;
        while (!atEnd() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9' && count < maxDigits) {
            value = value * 10 + (m_text[m_pos] - '0');
            ++m_pos;
            ++count;
        }
        if (count == 0 || (!atEnd() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')) {
            m_pos = start;
            return std::nullopt;
        }
        if (digits != nullptr) {
            *digits = count;
        }
        return value;
    }

    // "am" or "pm" in any letter case; true in `pm` for the afternoon.
    bool scanDesignator(bool& pm) {
        const std::size_t start = m_pos;
        skipBlanks();
        const std::string_view rest = m_text.substr(m_pos);
        for (const bool afternoon : {false, true}) {
            const std::string_view designator =
                afternoon ? FixedFormatSettings.timePmString : FixedFormatSettings.timeAmString;
            if (startsWithNoCase(rest, designator)) {
                m_pos += designator.size();
                pm = afternoon;
                return true;
            }
        }
        m_pos = start;
        return false;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

std::optional<DateTime> scanTime(Scanner& scanner) {
    bool pm = false;
    bool hasDesignator = scanner.scanDesignator(pm);
    std::optional<int> hour = scanner.scanNumber(4);
    if (!hour) {
        return std::nullopt;
    }
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    for (int* part : {&minute, &second}) {
        if (!scanner.scanChar(FixedFormatSettings.timeSeparator)) {
            break;
        }
        const std::optional<int> number = scanner.scanNumber(4);
        if (!number) {
            return std::nullopt;
        }
        *part = *number;
    }
    if (scanner.scanChar(FixedFormatSettings.decimalSeparator)) {
        const std::optional<int> number = scanner.scanNumber(4);
        if (!number) {
            return std::nullopt;
        }
        millisecond = *number;
    }
    if (!hasDesignator) {
        hasDesignator = scanner.scanDesignator(pm);
    }
    if (hasDesignator) {
        if (*hour < 1 || *hour > 12) {
            return std::nullopt;
        }
        *hour = (*hour % 12) + (pm ? 12 : 0);
    }
    if (!isValidTime(*hour, minute, second, millisecond)) {
        return std::nullopt;
    }
    return encodeTime(*hour, minute, second, millisecond);
}

int expandTwoDigitYear(int year, int currentYear) {
    const int threshold = currentYear - FixedFormatSettings.twoDigitYearCenturyWindow;
    year += threshold / 100 * 100;
    return year < threshold ? year + 100 : year;
}

std::optional<DateTime> scanDate(Scanner& scanner, int currentYear) {
    const std::optional<int> month = scanner.scanNumber(2);
    if (!month || !scanner.scanChar(FixedFormatSettings.dateSeparator)) {
        return std::nullopt;
    }
    const std::optional<int> day = scanner.scanNumber(2);
    if (!day) {
        return std::nullopt;
    }
    int year = currentYear;
    if (scanner.scanChar(FixedFormatSettings.dateSeparator)) {
        int digits = 0;
        const std::optional<int> number = scanner.scanNumber(4, &digits);
        if (!number) {
            return std::nullopt;
        }
        year = digits <= 2 ? expandTwoDigitYear(*number, currentYear) : *number;
    }
    if (!isValidDate(year, *month, *day)) {
        return std::nullopt;
    }
    return encodeDate(year, *month, *day);
}

std::optional<DateTime> finished(Scanner& scanner, std::optional<DateTime> value) {
    scanner.skipBlanks();
    return value && scanner.atEnd() ? value : std::nullopt;
}

// Optional sign, digits with an optional fraction, optional exponent; nothing else.
bool isFloatText(std::string_view text) {
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
    if (i < text.size() && text[i] == FixedFormatSettings.decimalSeparator) {
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

std::string twoDigits(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::optional<DateTime> parseIniTime(std::string_view text) {
    Scanner scanner(text);
    return finished(scanner, scanTime(scanner));
}

std::optional<DateTime> parseIniDate(std::string_view text, int currentYear) {
    Scanner scanner(text);
    return finished(scanner, scanDate(scanner, currentYear));
}

std::optional<DateTime> parseIniDateTime(std::string_view text, int currentYear) {
    Scanner scanner(text);
    std::optional<DateTime> date = scanDate(scanner, currentYear);
    if (!date) {
        return std::nullopt;
    }
    scanner.skipBlanks();
    if (scanner.atEnd()) {
        return date;
    }
    const std::optional<DateTime> time = scanTime(scanner);
    return finished(scanner, time ? std::optional<DateTime>(*date + *time) : std::nullopt);
}

std::optional<double> parseIniFloat(std::string_view text) {
    if (!isFloatText(text)) {
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

std::optional<std::int64_t> parseIniCurrency(std::string_view text) {
    if (!isFloatText(text)) {
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
        } else if (c == FixedFormatSettings.decimalSeparator) {
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

std::string formatIniTime(DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    return std::to_string(parts.hour) + FixedFormatSettings.timeSeparator +
           twoDigits(parts.minute) + FixedFormatSettings.timeSeparator + twoDigits(parts.second);
}

std::string formatIniDate(DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    return std::to_string(parts.month) + FixedFormatSettings.dateSeparator +
           std::to_string(parts.day) + FixedFormatSettings.dateSeparator +
           std::to_string(parts.year);
}

std::string formatIniDateTime(DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    const bool midnight =
        parts.hour == 0 && parts.minute == 0 && parts.second == 0 && parts.millisecond == 0;
    return midnight ? formatIniDate(value) : formatIniDate(value) + ' ' + formatIniTime(value);
}

std::string formatIniFloat(double value) {
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

std::string formatIniCurrency(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty()) {
        text += FixedFormatSettings.decimalSeparator + fraction;
    }
    return text;
}

}  // namespace plintor
