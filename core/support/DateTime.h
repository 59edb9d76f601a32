#pragma once

#include <cstdint>
#include <string>

namespace plintor {

// Local date and time as a day count since 30 December 1899, the time of day as the fraction.
using DateTime = double;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

bool isValidDate(int year, int month, int day);
bool isValidTime(int hour, int minute, int second, int millisecond);

// Both expect valid parts (see the checks above).
DateTime encodeDate(int year, int month, int day);
DateTime encodeTime(int hour, int minute, int second, int millisecond);
DateTime encodeDateTime(const DateTimeParts& parts);

// Rounds to the nearest millisecond, so a value built by the encoders comes back unchanged.
DateTimeParts decodeDateTime(DateTime value);

// The date alone, at 00:00.
DateTime dateOf(DateTime value);

// ISO 8601 without a zone, to the second: "2024-03-31T02:30:00". A DateTime holds local time,
// so that is what the text says.
std::string isoDateTimeText(DateTime value);

}  // namespace plintor
