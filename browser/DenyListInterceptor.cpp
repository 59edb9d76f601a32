#include "browser/DenyListInterceptor.h"

#include <utility>

namespace plintor {

DenyListInterceptor::DenyListInterceptor(std::function<bool(std::string_view)> denied,
                                         QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_denied(std::move(denied)) {}

// The page's own navigation was judged by both lists, logged and answered with the hint
// before it was requested.
void DenyListInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) {
        return;
    }
    if (m_denied(info.requestUrl().toString().toStdString())) {
        info.block(true);
        ++m_blocked;
    }
}

int DenyListInterceptor::takeBlockedCount() {
    return std::exchange(m_blocked, 0);
}

}  // namespace plintor
