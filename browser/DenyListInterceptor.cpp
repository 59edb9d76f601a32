#include "browser/DenyListInterceptor.h"

#include <utility>

#include "core/browser/UrlLists.h"

namespace plintor {

DenyListInterceptor::DenyListInterceptor(const UrlLists& lists, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_lists(lists) {}

// The page's own navigation was judged by both lists, logged and answered with the hint
// before it was requested.
void DenyListInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) {
        return;
    }
    if (m_lists.isUrlDenied(info.requestUrl().toString().toStdString())) {
        info.block(true);
        ++m_blocked;
    }
}

int DenyListInterceptor::takeBlockedCount() {
    return std::exchange(m_blocked, 0);
}

}  // namespace plintor
