#include "browser/DenyListInterceptor.h"

#include <utility>

#include "core/browser/UrlLists.h"

namespace plintor {

TDenyListInterceptor::TDenyListInterceptor(const TUrlLists& lists, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), FLists(lists) {}

// The page's own navigation was judged by both lists, logged and answered with the hint
// before it was requested.
void TDenyListInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) {
        return;
    }
    if (FLists.IsURLDenied(info.requestUrl().toString().toStdString())) {
        info.block(true);
        ++FBlocked;
    }
}

int TDenyListInterceptor::TakeBlockedCount() {
    return std::exchange(FBlocked, 0);
}

}  // namespace plintor
