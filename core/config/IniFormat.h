#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/support/DateTime.h"

// Fixed, locale-independent conversions of configuration values (English, United States).
namespace plintor {

struct TIniFormatSettings {
    char DateSeparator;
    char TimeSeparator;
    char DecimalSeparator;
    std::string_view ShortDateFormat;
    std::string_view LongTimeFormat;
    std::string_view TimeAMString;
    std::string_view TimePMString;
    int TwoDigitYearCenturyWindow;
};

extern const TIniFormatSettings IniFormatSettings;

// Each parser takes the whole (trimmed) value and fails on anything it does not consume.
std::optional<TDateTime> ParseIniTime(std::string_view text);
std::optional<TDateTime> ParseIniDate(std::string_view text, int currentYear);
std::optional<TDateTime> ParseIniDateTime(std::string_view text, int currentYear);
std::optional<double> ParseIniFloat(std::string_view text);
std::optional<std::int64_t> ParseIniCurrency(std::string_view text);  // ten-thousandths

std::string FormatIniTime(TDateTime value);      // h:mm:ss, 24-hour
std::string FormatIniDate(TDateTime value);      // m/d/yyyy
std::string FormatIniDateTime(TDateTime value);  // date, and " h:mm:ss" unless midnight
std::string FormatIniFloat(double value);
std::string FormatIniCurrency(std::int64_t tenThousandths);

}  // namespace plintor
