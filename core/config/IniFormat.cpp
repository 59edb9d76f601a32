#include "core/config/IniFormat.h"

#include "core/support/TextCase.h"

namespace plintor {

namespace {

// The fixed conventions of configuration values (English, United States), whatever the locale.
constexpr char TimeSeparator = ':';
constexpr char DecimalSeparator = '.';
constexpr std::string_view TimeAmString = "am";
constexpr std::string_view TimePmString = "pm";

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

    // Blanks before the number are skipped.
    std::optional<int> scanNumber(int maxDigits) {
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
        return value;
    }

    // "am" or "pm" in any letter case; true in `pm` for the afternoon.
    bool scanDesignator(bool& pm) {
        const std::size_t start = m_pos;
        skipBlanks();
        const std::string_view rest = m_text.substr(m_pos);
        for (const bool afternoon : {false, true}) {
            const std::string_view designator = afternoon ? TimePmString : TimeAmString;
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

bool isValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

std::optional<TimeOfDay> scanTime(Scanner& scanner) {
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
        if (!scanner.scanChar(TimeSeparator)) {
            break;
        }
        const std::optional<int> number = scanner.scanNumber(4);
        if (!number) {
            return std::nullopt;
        }
        *part = *number;
    }
    if (scanner.scanChar(DecimalSeparator)) {
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
    return std::chrono::hours(*hour) + std::chrono::minutes(minute) + std::chrono::seconds(second) +
           std::chrono::milliseconds(millisecond);
}

std::optional<TimeOfDay> finished(Scanner& scanner, std::optional<TimeOfDay> value) {
    scanner.skipBlanks();
    return value && scanner.atEnd() ? value : std::nullopt;
}

std::string twoDigits(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::optional<TimeOfDay> parseIniTime(std::string_view text) {
    Scanner scanner(text);
    return finished(scanner, scanTime(scanner));
}

std::string formatIniTime(TimeOfDay value) {
    const std::chrono::hh_mm_ss<TimeOfDay> clock(value);
    return std::to_string(clock.hours().count()) + TimeSeparator +
           twoDigits(static_cast<int>(clock.minutes().count())) + TimeSeparator +
           twoDigits(static_cast<int>(clock.seconds().count()));
}

}  // namespace plintor
