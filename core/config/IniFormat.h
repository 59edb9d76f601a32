#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/support/DateTime.h"

// Fixed, locale-independent conversions of configuration values (English, United States).
namespace plintor {

struct IniFormatSettings {
    char dateSeparator;
    char timeSeparator;
    char decimalSeparator;
    std::string_view shortDateFormat;
    std::string_view longTimeFormat;
    std::string_view timeAmString;
    std::string_view timePmString;
    int twoDigitYearCenturyWindow;
};

extern const IniFormatSettings FixedFormatSettings;

// Each parser takes the whole (trimmed) value and fails on anything it does not consume.
std::optional<DateTime> parseIniTime(std::string_view text);
std::optional<DateTime> parseIniDate(std::string_view text, int currentYear);
std::optional<DateTime> parseIniDateTime(std::string_view text, int currentYear);
std::optional<double> parseIniFloat(std::string_view text);
std::optional<std::int64_t> parseIniCurrency(std::string_view text);  // ten-thousandths

std::string formatIniTime(DateTime value);      // h:mm:ss, 24-hour
std::string formatIniDate(DateTime value);      // m/d/yyyy
std::string formatIniDateTime(DateTime value);  // date, and " h:mm:ss" unless midnight
std::string formatIniFloat(double value);
std::string formatIniCurrency(std::int64_t tenThousandths);

}  // namespace plintor
