#pragma once

#include <string>

#include "core/support/LogRateLimit.h"
#include "glib/Timeout.h"

namespace plintor {

// The log of one page's same-document address changes (history.pushState and replaceState, a
// move to a fragment): at most one entry a second, the rest counted and reported in one entry
// when that second ends, so that a page changing its address as fast as it can does not push
// the log's history out. No timer runs while nothing is counted.
class AddressChangeLog {
public:
    AddressChangeLog();
    AddressChangeLog(const AddressChangeLog&) = delete;
    AddressChangeLog& operator=(const AddressChangeLog&) = delete;

    // The page moved to `url` without a load (the engine's own report of it).
    void addressChanged(const std::string& url);
    // A move to a fragment was judged: `logText` is its navigation entry.
    void fragmentJudged(const std::string& logText);

private:
    void write(const std::string& logText);
    void reportCounted();

    LogRateLimit m_limit;
    Timeout m_report;
};

}  // namespace plintor
