#include "app/MetricsPublisher.h"

#include <chrono>

#include "core/app/KioskMetrics.h"
#include "core/app/KioskState.h"
#include "core/support/FileIO.h"
#include "core/support/Log.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

std::int64_t unixSeconds(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
}

}  // namespace

MetricsPublisher::MetricsPublisher(KioskState& state, const SystemInfo& system,
                                   std::string engineVersion)
    : m_state(state),
      m_system(system),
      m_engineVersion(std::move(engineVersion)),
      m_startTime(unixSeconds(state.clock.systemTime())),
      m_every([this] { publish(true); }, true) {}

MetricsPublisher::~MetricsPublisher() {
    m_state.counters.setReturnListener(nullptr);
}

void MetricsPublisher::start() {
    if (m_state.settings.metricsFile.empty()) {
        return;
    }
    m_state.counters.setReturnListener([this] { publish(true); });
    publish(true);
    m_every.start(IntervalMs);
}

void MetricsPublisher::stop() {
    if (m_state.settings.metricsFile.empty() || m_stopped) {
        return;
    }
    m_every.stop();
    m_state.counters.setReturnListener(nullptr);
    publish(false);
    m_stopped = true;
}

// A file that cannot be written is logged once, not every minute, until it can be again.
void MetricsPublisher::publish(bool up) {
    const std::int64_t memoryKiB = m_system.processTreeMemoryKiB();
    const KioskMetrics metrics{.up = up,
                               .startTime = m_startTime,
                               .memoryBytes = memoryKiB < 0 ? -1 : memoryKiB * 1024,
                               .engineVersion = m_engineVersion,
                               .counters = m_state.counters};
    const std::string& file = m_state.settings.metricsFile;
    const std::string why = writeFileWholeOrSayWhy(file, kioskMetricsText(metrics));
    if (!why.empty() && !m_failing) {
        logEntry("Metrics not written to " + file + ": " + why);
    } else if (why.empty() && m_failing) {
        logEntry("Metrics written to " + file + " again");
    }
    m_failing = !why.empty();
}

}  // namespace plintor
