#pragma once

#include <webkit/webkit-web-process-extension.h>

#include <string>
#include <string_view>

#include "webext/SharedListReader.h"
#include "webext/WebSocketGuard.h"

namespace plintor {

// The engine's web process side of DenyAllRequests: every request of every page of this
// process, each redirect hop included, is judged by the shared deny list in
// WebKitWebPage::send-request (returning TRUE cancels it); WebSockets, which that signal does
// not see, by WebSocketGuard. Each refusal is reported to the page's view at once, before the
// page can finish loading, so the count the program logs at the end of a load holds it.
class DenyListExtension {
public:
    DenyListExtension(WebKitWebProcessExtension* extension, std::string folder);
    DenyListExtension(const DenyListExtension&) = delete;
    DenyListExtension& operator=(const DenyListExtension&) = delete;

private:
    static void pageCreated(WebKitWebProcessExtension* extension, WebKitWebPage* page,
                            DenyListExtension* self);
    static gboolean sendRequest(WebKitWebPage* page, WebKitURIRequest* request,
                                WebKitURIResponse* redirectedFrom, DenyListExtension* self);
    // Judges the address for the page (which may be gone: then nothing is counted).
    bool denies(WebKitWebPage* page, std::string_view url);

    SharedListReader m_list;
    WebSocketGuard m_webSockets;
};

}  // namespace plintor
