#pragma once

#include <webkit/webkit.h>

#include <functional>

#include "browser/RequestGuard.h"
#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"

namespace plintor {

// What a browser's pages share: the engine's web context (its web processes, each with the
// request guard's extension, which judges nothing until told to), the visitor's network
// session, off the record (cookies, storage, cache and logins live in memory only and go with
// it), and the kiosk's settings and style for every page. A new visitor gets a new network
// session; the web context stays for the program's life.
class KioskSession {
public:
    // `downloadStarted` hears of every download the session starts.
    explicit KioskSession(std::function<void(WebKitDownload*)> downloadStarted);
    KioskSession(const KioskSession&) = delete;
    KioskSession& operator=(const KioskSession&) = delete;
    ~KioskSession();

    WebKitWebContext* context() const { return m_context.get(); }
    WebKitNetworkSession* networkSession() const { return m_network.get(); }
    WebKitUserContentManager* content() const { return m_content.get(); }
    WebKitSettings* settings() const { return m_settings.get(); }
    RequestGuard& requestGuard() { return m_requestGuard; }

    // Drops everything the engine kept of the visitor. Views of the old session must be gone
    // first: a view keeps its session for life.
    void renew();

private:
    static void onDownloadStarted(WebKitNetworkSession* session, WebKitDownload* download,
                                  gpointer self);
    void openNetworkSession();

    std::function<void(WebKitDownload*)> m_downloadStarted;
    GObjectRef<WebKitWebContext> m_context;
    // Made before the context starts any web process (the first view starts one).
    RequestGuard m_requestGuard;
    GObjectRef<WebKitNetworkSession> m_network;
    GObjectRef<WebKitUserContentManager> m_content;
    GObjectRef<WebKitSettings> m_settings;
    ScopedSignal m_downloads;
};

}  // namespace plintor
