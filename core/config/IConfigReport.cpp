#include "core/config/IConfigReport.h"

#include "core/support/Log.h"

namespace plintor {

void TLogConfigReport::LoadFailed(const std::exception& error) {
    LogException(error);
}

void TLogConfigReport::Warn(const std::string& text) {
    LogEntry("Warning: " + text);
}

}  // namespace plintor
