#include "browser/AddressChangeLog.h"

#include "core/browser/UrlHelpers.h"
#include "core/support/Log.h"

namespace plintor {
namespace {

constexpr std::chrono::milliseconds EntryInterval(1000);

}  // namespace

AddressChangeLog::AddressChangeLog()
    : m_limit(steadyClock(), EntryInterval), m_report([this] { reportCounted(); }) {}

void AddressChangeLog::addressChanged(const std::string& url) {
    write("AddressChange: " + addressForLog(url));
}

void AddressChangeLog::fragmentJudged(const std::string& logText) {
    write(logText);
}

void AddressChangeLog::write(const std::string& logText) {
    if (m_limit.admit()) {
        logEntry(logText);
    } else if (!m_report.isActive()) {
        m_report.start(m_limit.untilReport().count());
    }
}

void AddressChangeLog::reportCounted() {
    const int counted = m_limit.takeCounted();
    if (counted > 0) {
        logEntry("AddressChange: (" + std::to_string(counted) + " more address change" +
                 (counted == 1 ? ")" : "s)"));
    }
}

}  // namespace plintor
