#pragma once

#include <cstdint>

namespace plintor {

// Local date and time as a day count since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

struct TDateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second, int millisecond);

// Both expect valid parts (see the checks above).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(const TDateTimeParts& parts);

// Rounds to the nearest millisecond, so a value built by the encoders comes back unchanged.
TDateTimeParts DecodeDateTime(TDateTime value);

// The date alone, at 00:00.
TDateTime DateOf(TDateTime value);

}  // namespace plintor
