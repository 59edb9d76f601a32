#include "core/support/DateTime.h"

#include <cmath>
#include <cstdio>

namespace plintor {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// 1899-12-30, day 0 of the day count.
constexpr std::int64_t EpochDaysFrom1970 = daysFromCivil(1899, 12, 30);

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int last = kDaysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= last;
}

bool isValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

DateTime encodeDate(int year, int month, int day) {
    return static_cast<DateTime>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        EpochDaysFrom1970);
}

DateTime encodeTime(int hour, int minute, int second, int millisecond) {
    return hour / 24.0 + minute / 1440.0 + second / 86400.0 + millisecond / 86400000.0;
}

DateTime encodeDateTime(const DateTimeParts& parts) {
    return encodeDate(parts.year, parts.month, parts.day) +
           encodeTime(parts.hour, parts.minute, parts.second, parts.millisecond);
}

DateTimeParts decodeDateTime(DateTime value) {
    const auto total = static_cast<std::int64_t>(std::llround(value * MillisecondsPerDay));
    std::int64_t days = total / MillisecondsPerDay;
    std::int64_t ms = total % MillisecondsPerDay;
    if (ms < 0) {
        ms += MillisecondsPerDay;
        --days;
    }
    DateTimeParts parts;
    civilFromDays(days + EpochDaysFrom1970, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(ms / 3'600'000);
    parts.minute = static_cast<int>(ms / 60'000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    return parts;
}

DateTime dateOf(DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    return encodeDate(parts.year, parts.month, parts.day);
}

std::string isoDateTimeText(DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", parts.year, parts.month,
                  parts.day, parts.hour, parts.minute, parts.second);
    return text;
}

}  // namespace plintor
