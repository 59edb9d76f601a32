#pragma once

#include <chrono>
#include <string>

namespace plintor {

// The local date and time as the machine's clock shows it, to the millisecond, in no zone: the
// daily restart, the log's stamps and the status report follow the clock on the wall. Spans
// between two of them are plain durations.
using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;

// A time of day: the span since local midnight, under 24 hours.
using TimeOfDay = std::chrono::milliseconds;

// The calendar fields of a local date and time, as the system hands them out.
struct DateTimeParts {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Expects valid parts.
LocalTime localTimeOf(const DateTimeParts& parts);
DateTimeParts partsOf(LocalTime time);

// ISO 8601 without a zone, to the second: "2024-03-31T02:30:00". A LocalTime holds local time,
// so that is what the text says.
std::string isoDateTimeText(LocalTime time);

}  // namespace plintor
