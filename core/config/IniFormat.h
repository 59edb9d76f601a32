#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/support/LocalTime.h"

// Fixed, locale-independent conversions of configuration values (English, United States).
namespace plintor {

// A time of day; takes the whole (trimmed) value and fails on anything it does not consume.
std::optional<TimeOfDay> parseIniTime(std::string_view text);

std::string formatIniTime(TimeOfDay value);  // h:mm:ss, 24-hour

}  // namespace plintor
