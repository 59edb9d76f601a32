#pragma once
#include <webkit/webkit.h>
namespace plintor {
class UrlLists;
class RequestGuard {
public:
    explicit RequestGuard(WebKitWebContext*) {}
    void judgeBy(const UrlLists&) {}
    void watch(WebKitWebView*) {}
    int takeBlockedCount(WebKitWebView*) { return 0; }
};
}  // namespace plintor
