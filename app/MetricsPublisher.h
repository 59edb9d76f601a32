#pragma once

#include <cstdint>
#include <string>

#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class SystemInfo;

// Writes the kiosk's metrics to Settings.MetricsFile for node_exporter's textfile collector:
// at the start, every minute, at each return to the home page, and once at the end with the
// kiosk down. The file is replaced whole, so the collector never reads half of it. Without the
// key nothing is written and no timer runs.
class MetricsPublisher {
public:
    static constexpr int IntervalMs = 60000;

    MetricsPublisher(KioskState& state, const SystemInfo& system, std::string engineVersion);
    MetricsPublisher(const MetricsPublisher&) = delete;
    MetricsPublisher& operator=(const MetricsPublisher&) = delete;
    ~MetricsPublisher();

    void start();
    // The last file, plintor_up 0; nothing is written after it.
    void stop();

private:
    void publish(bool up);

    KioskState& m_state;
    const SystemInfo& m_system;
    const std::string m_engineVersion;
    const std::int64_t m_startTime;
    Timeout m_every;
    bool m_stopped = false;
    bool m_failing = false;  // the last write failed and was logged
};

}  // namespace plintor
