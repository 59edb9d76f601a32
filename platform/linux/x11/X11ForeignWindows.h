#pragma once

#include <vector>

#include "core/lockdown/ForeignWindowRules.h"
#include "platform/ForeignWindows.h"
#include "platform/linux/x11/X11DesktopPrograms.h"
#include "platform/linux/x11/X11DesktopWatch.h"

namespace plintor {

class X11ForeignWindows final : public ForeignWindows {
public:
    X11ForeignWindows(X11DesktopWatch& watch, const X11DesktopPrograms& programs)
        : m_watch(watch), m_programs(programs) {}

    bool closeForeignWindows() override;

private:
    struct TopLevelClient {
        XWindow window = 0;
        bool viewable = false;
    };

    std::vector<TopLevelClient> topLevelClients() const;
    ForeignWindow describe(const TopLevelClient& client) const;
    bool askToClose(XWindow window) const;

    X11DesktopWatch& m_watch;
    const X11DesktopPrograms& m_programs;
    unsigned long m_closedCleanAt = 0;
};

}  // namespace plintor
