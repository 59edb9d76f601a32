#include "core/config/ConfigReport.h"

#include "core/support/Log.h"

namespace plintor {

void LogConfigReport::loadFailed(const std::exception& error) {
    m_log.exception(error);
}

void LogConfigReport::warn(const std::string& text) {
    m_log.entry("Warning: " + text);
}

void LogConfigReport::error(const std::string& text) {
    m_log.entry("Error: " + text);
}

}  // namespace plintor
