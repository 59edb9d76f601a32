#pragma once

#include <webkit/webkit-web-process-extension.h>

#include <functional>
#include <string_view>

namespace plintor {

// A WebSocket's handshake never passes WebKitWebPage::send-request: the engine opens it
// from the network process. So the WebSocket constructor of every frame's page world is
// replaced, before the frame's own scripts run, by one that asks `denies` first and throws a
// SecurityError for a denied address (as the engine does for a blocked port). The address is
// resolved against the document's base as the constructor does (http becomes ws), and the
// page's own text is read once, so an object that changes its text between reads cannot
// slip past. Workers have no such hook: their WebSockets are not covered.
class WebSocketGuard {
public:
    // `denies(page, address)` decides and counts for the page.
    using Judge = std::function<bool(WebKitWebPage*, std::string_view)>;

    WebSocketGuard(WebKitWebProcessExtension* extension, Judge denies);
    WebSocketGuard(const WebSocketGuard&) = delete;
    WebSocketGuard& operator=(const WebSocketGuard&) = delete;
    ~WebSocketGuard();

private:
    struct Call;

    static void windowObjectCleared(WebKitScriptWorld* world, WebKitWebPage* page,
                                    WebKitFrame* frame, WebSocketGuard* self);
    static gboolean judge(GPtrArray* arguments, Call* call);

    WebKitWebProcessExtension* m_extension;
    Judge m_denies;
    gulong m_handler = 0;
};

}  // namespace plintor
