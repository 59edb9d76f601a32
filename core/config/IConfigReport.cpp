#include "core/config/IConfigReport.h"

#include "core/support/Log.h"

namespace plintor {

void TLogConfigReport::LoadFailed(const std::exception& error) {
    FLog.Exception(error);
}

void TLogConfigReport::Warn(const std::string& text) {
    FLog.Entry("Warning: " + text);
}

}  // namespace plintor
