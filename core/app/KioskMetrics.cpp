#include "core/app/KioskMetrics.h"

#include "core/support/MetricsExposition.h"

namespace plintor {
namespace {

using Type = MetricsExposition::Type;

std::int64_t count(std::uint64_t value) {
    return static_cast<std::int64_t>(value);
}

void addCounters(MetricsExposition& out, const KioskCounters& counters) {
    out.add("plintor_page_loads_total", Type::Counter, "Pages the visitor's browser loaded.",
            count(counters.pageLoads()));
    out.add("plintor_blocked_navigations_total", Type::Counter,
            "Navigations the allow and deny lists refused.", count(counters.blockedNavigations()));
    out.add("plintor_blocked_requests_total", Type::Counter,
            "Requests of allowed pages the deny list stopped.", count(counters.blockedRequests()));
    out.add("plintor_blocked_downloads_total", Type::Counter, "Downloads refused.",
            count(counters.blockedDownloads()));
    out.add("plintor_renderer_restarts_total", Type::Counter,
            "Times the page came back after its renderer ended or hung.",
            count(counters.rendererRestarts()));
    out.add("plintor_idle_returns_total", Type::Counter, "Returns to the home page.",
            count(counters.homeReturns()));
}

void addLists(MetricsExposition& out, const KioskCounters::Lists& lists) {
    out.add("plintor_list_masks", Type::Gauge, "Masks of the allow and deny lists in force.",
            {{{{"list", "allow"}}, static_cast<std::int64_t>(lists.allowMasks)},
             {{{"list", "deny"}}, static_cast<std::int64_t>(lists.denyMasks)}});
    out.add("plintor_last_list_load_timestamp_seconds", Type::Gauge,
            "When the lists in force were loaded; 0 before they were.", lists.loadedAt);
}

}  // namespace

std::string kioskMetricsText(const KioskMetrics& metrics) {
    MetricsExposition out;
    out.add("plintor_up", Type::Gauge, "1 while the kiosk runs, 0 once it has ended.",
            metrics.up ? 1 : 0);
    out.add("plintor_start_time_seconds", Type::Gauge, "When the kiosk started.",
            metrics.startTime);
    addCounters(out, metrics.counters);
    if (metrics.memoryBytes >= 0) {
        out.add("plintor_memory_bytes", Type::Gauge,
                "Memory of the kiosk's processes together (proportional set size).",
                metrics.memoryBytes);
    }
    addLists(out, metrics.counters.lists());
    out.add("plintor_engine_info", Type::Gauge, "The browser engine's version.", 1,
            {{"version", metrics.engineVersion}});
    return out.text();
}

}  // namespace plintor
