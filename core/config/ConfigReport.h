#pragma once

#include <exception>
#include <string>

#include "core/support/Log.h"

namespace plintor {

// Receives what the loaders notice. The kiosk logs failures and ignores the rest; the
// operator's diagnostics print everything.
class ConfigReport {
public:
    virtual ~ConfigReport() = default;

    // A configuration or list file could not be opened or read.
    virtual void loadFailed(const std::exception& error) = 0;
    // URL button `number` was left out (`reason` says why).
    virtual void buttonDropped(int number, const std::string& reason) = 0;
    // A file is read, but surely not as its writer meant (`text` says why).
    virtual void warn(const std::string& text) = 0;
    // What was read leaves the kiosk refusing more than the operator meant (`text` says what).
    virtual void error(const std::string& text) = 0;
};

// The kiosk's report: failures and warnings go to the log, dropped buttons pass silently.
class LogConfigReport final : public ConfigReport {
public:
    explicit LogConfigReport(const LogWriter& log) : m_log(log) {}

    void loadFailed(const std::exception& error) override;
    void buttonDropped(int, const std::string&) override {}
    void warn(const std::string& text) override;
    void error(const std::string& text) override;

private:
    const LogWriter& m_log;
};

}  // namespace plintor
