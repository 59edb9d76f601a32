#pragma once

#include <chrono>

#include "core/support/LocalTime.h"

namespace plintor::test {

// Midnight of a local date; a test adds the time of day: date(2026, 12, 10) + 3h.
inline LocalTime date(int year, int month, int day) {
    return std::chrono::local_days{std::chrono::year(year) / month / day};
}

}  // namespace plintor::test
