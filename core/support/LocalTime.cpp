#include "core/support/LocalTime.h"

#include <cstdio>

namespace plintor {

using namespace std::chrono;

LocalTime localTimeOf(const DateTimeParts& parts) {
    const local_days date{year(parts.year) / parts.month / parts.day};
    return date + hours(parts.hour) + minutes(parts.minute) + seconds(parts.second) +
           milliseconds(parts.millisecond);
}

DateTimeParts partsOf(LocalTime time) {
    const local_days date = floor<days>(time);
    const year_month_day calendar{date};
    const hh_mm_ss<milliseconds> clock{time - date};
    return {static_cast<int>(calendar.year()),
            static_cast<int>(static_cast<unsigned>(calendar.month())),
            static_cast<int>(static_cast<unsigned>(calendar.day())),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<int>(clock.subseconds().count())};
}

std::string isoDateTimeText(LocalTime time) {
    const DateTimeParts parts = partsOf(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", parts.year, parts.month,
                  parts.day, parts.hour, parts.minute, parts.second);
    return text;
}

}  // namespace plintor
