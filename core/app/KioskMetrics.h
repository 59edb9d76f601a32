#pragma once

#include <cstdint>
#include <string>

#include "core/app/KioskCounters.h"

namespace plintor {

// What the kiosk publishes for Prometheus at one moment.
struct KioskMetrics {
    bool up = true;                 // false once, at the kiosk's end
    std::int64_t startTime = 0;     // seconds since 1970 (UTC)
    std::int64_t memoryBytes = -1;  // the kiosk's processes together; -1: unknown, left out
    std::string engineVersion;
    KioskCounters counters;
};

// The metrics as node_exporter's textfile collector reads them: plintor_up, the start time,
// the counters (*_total), the memory, the masks per list, the last list load and the engine's
// version as the label of plintor_engine_info.
std::string kioskMetricsText(const KioskMetrics& metrics);

}  // namespace plintor
