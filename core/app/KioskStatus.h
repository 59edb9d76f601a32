#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/support/LocalTime.h"

namespace plintor {

// What `plintor --send status` reports about the running kiosk.
struct KioskStatus {
    std::string version;
    std::string engine;  // the browser engine and its version ("WebKitGTK 2.50.6")
    std::int64_t uptimeSeconds = 0;
    std::string address;  // the page shown now
    std::int64_t idleSeconds = 0;
    int rendererRestarts = 0;
    std::optional<LocalTime> lastReturn;  // none: no return to the home page yet
    std::int64_t memoryKiB = -1;          // -1: unknown
    std::size_t allowEntries = 0;
    std::size_t denyEntries = 0;
};

// The address is cut to this many bytes (at a character boundary, ending in "…"), so that the
// report of a page with a huge address still fits one message.
constexpr std::size_t MaxStatusAddress = 8192;

// One line of JSON: {"version", "engine", "uptime", "address", "idle", "rendererRestarts",
// "lastReturn" (ISO 8601 local time or null), "memoryKiB" (null when unknown), "lists": {"allow",
// "deny"}}. Never longer than MaxStatusJson, whatever the strings hold.
std::string kioskStatusJson(const KioskStatus& status);
constexpr std::size_t MaxStatusJson = 65536;

}  // namespace plintor
