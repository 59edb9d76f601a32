#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace plintor {

// What a running kiosk counts for those who watch many terminals from afar: the loads and
// refusals of the visitor's page, the returns to the home page, the renderer's restarts, and
// the lists in force. Each event is counted where it happens, once.
class KioskCounters {
public:
    // The allow and deny lists that came into force last.
    struct Lists {
        std::size_t allowMasks = 0;
        std::size_t denyMasks = 0;
        std::int64_t loadedAt = 0;  // seconds since 1970 (UTC); 0 while none came
    };

    void pageLoaded() { ++m_pageLoads; }
    void navigationBlocked() { ++m_blockedNavigations; }
    void requestsBlocked(int count);
    void downloadBlocked() { ++m_blockedDownloads; }
    void rendererRestarted() { ++m_rendererRestarts; }
    // The return to the home page; the return listener hears of it after the count.
    void homeReturned();
    void listsLoaded(Lists lists) { m_lists = lists; }

    // The one listener, replaced by the next call; null removes it.
    void setReturnListener(std::function<void()> listener) {
        m_returnListener = std::move(listener);
    }

    std::uint64_t pageLoads() const { return m_pageLoads; }
    std::uint64_t blockedNavigations() const { return m_blockedNavigations; }
    std::uint64_t blockedRequests() const { return m_blockedRequests; }
    std::uint64_t blockedDownloads() const { return m_blockedDownloads; }
    std::uint64_t rendererRestarts() const { return m_rendererRestarts; }
    std::uint64_t homeReturns() const { return m_homeReturns; }
    const Lists& lists() const { return m_lists; }

private:
    std::uint64_t m_pageLoads = 0;
    std::uint64_t m_blockedNavigations = 0;
    std::uint64_t m_blockedRequests = 0;
    std::uint64_t m_blockedDownloads = 0;
    std::uint64_t m_rendererRestarts = 0;
    std::uint64_t m_homeReturns = 0;
    Lists m_lists;
    std::function<void()> m_returnListener;
};

}  // namespace plintor
