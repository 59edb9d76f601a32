#pragma once

#include <exception>
#include <string>

#include "core/support/Log.h"

namespace plintor {

// Receives what the loaders notice. The kiosk logs failures and ignores the rest; the
// operator's diagnostics print everything.
class IConfigReport {
public:
    virtual ~IConfigReport() = default;

    // A configuration or list file could not be opened or read.
    virtual void LoadFailed(const std::exception& error) = 0;
    // URL button `number` was left out (`reason` says why).
    virtual void ButtonDropped(int number, const std::string& reason) = 0;
    // A file is read, but surely not as its writer meant (`text` says why).
    virtual void Warn(const std::string& text) = 0;
};

// The kiosk's report: failures and warnings go to the log, dropped buttons pass silently.
class TLogConfigReport final : public IConfigReport {
public:
    explicit TLogConfigReport(const TLogWriter& log) : FLog(log) {}

    void LoadFailed(const std::exception& error) override;
    void ButtonDropped(int, const std::string&) override {}
    void Warn(const std::string& text) override;

private:
    const TLogWriter& FLog;
};

}  // namespace plintor
