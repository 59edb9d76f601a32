#pragma once

#include <cstdint>

namespace plintor {

// What the kiosk asks the power layer to keep awake, as flags that combine. The numbers are those
// of the system's execution-state flags on Windows.
enum class AwakeRequest : std::uint32_t {
    System = 0x00000001,
    Display = 0x00000002,
    Continuous = 0x80000000,  // the request holds until the next one replaces it
};

constexpr std::uint32_t awakeRequestNumber(AwakeRequest request) {
    return static_cast<std::uint32_t>(request);
}

constexpr AwakeRequest operator|(AwakeRequest left, AwakeRequest right) {
    return static_cast<AwakeRequest>(awakeRequestNumber(left) | awakeRequestNumber(right));
}

// True when `requests` holds every flag of `wanted`.
constexpr bool includes(AwakeRequest requests, AwakeRequest wanted) {
    return (awakeRequestNumber(requests) & awakeRequestNumber(wanted)) ==
           awakeRequestNumber(wanted);
}

}  // namespace plintor
