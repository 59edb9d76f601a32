// The request guard with the real engine: a page on a loopback server whose every kind of
// request aims at denied and allowed addresses of the same server. The server must see none of
// the denied ones and all of the allowed ones, and the refusals must reach the program.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <libsoup/soup.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "browser/RequestGuard.h"
#include "browser/SharedListFolder.h"
#include "core/browser/UrlLists.h"
#include "glib/GObjectRef.h"
#include "glib/Timeout.h"

namespace plintor {
namespace {

constexpr long long LoadLimitMs = 30000;
// Denied requests would have come with their allowed twins; this is for stragglers.
constexpr long long SettleMs = 1500;

// Runs the main loop until `done` holds or the time is up; says whether it held.
bool runUntil(const std::function<bool()>& done, long long limitMs) {
    bool expired = false;
    Timeout limit([&] { expired = true; });
    limit.start(limitMs);
    while (!done() && !expired) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return done();
}

void runFor(long long ms) {
    runUntil([] { return false; }, ms);
}

// An HTTP and WebSocket server on 127.0.0.1 that notes the path of every request it reads.
class LoopbackServer {
public:
    struct Reply {
        std::string contentType;
        std::string body;
        std::string redirect;  // a 302 to it when set
    };

    LoopbackServer() : m_server(GObjectRef<SoupServer>::adopt(soup_server_new(nullptr, nullptr))) {
        g_signal_connect(m_server.get(), "request-read", G_CALLBACK(requestRead), this);
        soup_server_add_handler(m_server.get(), nullptr, handle, this, nullptr);
        for (const char* path : {"/allowed/ws", "/denied/ws"}) {
            soup_server_add_websocket_handler(m_server.get(), path, nullptr, nullptr, opened, this,
                                              nullptr);
        }
        GError* error = nullptr;
        if (!soup_server_listen_local(m_server.get(), 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
            ADD_FAILURE() << error->message;
            g_error_free(error);
            return;
        }
        GSList* uris = soup_server_get_uris(m_server.get());
        m_port = g_uri_get_port(static_cast<GUri*>(uris->data));
        g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    }

    int port() const { return m_port; }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    void route(const std::string& path, Reply reply) { m_routes[path] = std::move(reply); }
    bool saw(const std::string& path) const {
        return std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end();
    }
    std::vector<std::string> pathsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        std::copy_if(m_paths.begin(), m_paths.end(), std::back_inserter(found),
                     [&](const std::string& path) { return path.starts_with(prefix); });
        return found;
    }

private:
    static void requestRead(SoupServer*, SoupServerMessage* message, LoopbackServer* self) {
        self->m_paths.emplace_back(g_uri_get_path(soup_server_message_get_uri(message)));
    }

    static void handle(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*,
                       gpointer self) {
        const auto& routes = static_cast<LoopbackServer*>(self)->m_routes;
        const auto route = routes.find(path);
        if (route == routes.end()) {
            soup_server_message_set_status(message, SOUP_STATUS_NO_CONTENT, nullptr);
            return;
        }
        if (!route->second.redirect.empty()) {
            soup_server_message_set_redirect(message, SOUP_STATUS_FOUND,
                                             route->second.redirect.c_str());
            return;
        }
        soup_server_message_set_status(message, SOUP_STATUS_OK, nullptr);
        soup_server_message_set_response(message, route->second.contentType.c_str(),
                                         SOUP_MEMORY_COPY, route->second.body.data(),
                                         route->second.body.size());
    }

    static void opened(SoupServer*, SoupServerMessage*, const char*, SoupWebsocketConnection*,
                       gpointer) {}

    GObjectRef<SoupServer> m_server;
    int m_port = 0;
    std::map<std::string, Reply> m_routes;
    std::vector<std::string> m_paths;
};

// The page of every kind of request, twice: once at /allowed/, once at /denied/.
constexpr const char* TrackedPage = R"HTML(<!doctype html><body>
<img src="/allowed/img.png"><img src="/denied/img.png">
<img src="http://localhost:PORT/denied-host/img.png">
<img src="/redirect/img">
<iframe src="/allowed/frame.html"></iframe><iframe src="/denied/frame.html"></iframe>
<script>
for (const kind of ['allowed', 'denied']) {
    fetch(`/${kind}/fetch`).catch(() => {});
    const request = new XMLHttpRequest();
    request.open('GET', `/${kind}/xhr`);
    request.send();
    try { new WebSocket(`ws://${location.host}/${kind}/ws`); } catch (e) {}
    try { new EventSource(`/${kind}/events`); } catch (e) {}
    navigator.sendBeacon(`/${kind}/beacon`, 'visit');
}
fetch('/redirect/fetch').catch(() => {});
new Worker('/worker.js');
if (navigator.serviceWorker) navigator.serviceWorker.register('/service-worker.js').catch(() => {});
if (window.SharedWorker) new SharedWorker('/shared-worker.js');
</script>)HTML";

const std::vector<std::string> AllowedPaths = {
    "/allowed/img.png", "/allowed/frame.html", "/allowed/frame-img.png", "/allowed/fetch",
    "/allowed/xhr",     "/allowed/ws",         "/allowed/events",        "/allowed/beacon",
    "/allowed/worker",  "/redirect/img",       "/redirect/fetch"};
// Denied: the image, the host's image, the redirected image, the frame, the frame's image,
// fetch, XHR, WebSocket, EventSource, beacon, the redirected fetch, the worker's fetch.
constexpr int DeniedRequests = 12;

class RequestGuardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gtk_init(); }

    void SetUp() override {
        std::string page = TrackedPage;
        page.replace(page.find("PORT"), 4, std::to_string(m_server.port()));
        m_server.route("/page.html", {"text/html", page, {}});
        m_server.route("/plain.html", {"text/html", "<!doctype html><p>plain", {}});
        m_server.route("/allowed/frame.html",
                       {"text/html",
                        "<img src='/denied/frame-img.png'><img src='/allowed/frame-img.png'>",
                        {}});
        m_server.route(
            "/worker.js",
            {"text/javascript", "fetch('/allowed/worker'); fetch('/denied/worker');", {}});
        for (const char* worker : {"/service-worker.js", "/shared-worker.js"}) {
            m_server.route(worker, {"text/javascript", "fetch('/denied/pageless-worker');", {}});
        }
        m_server.route("/allowed/events", {"text/event-stream", "data: x\n\n", {}});
        m_server.route("/redirect/img", {{}, {}, "/denied/redirected-img"});
        m_server.route("/redirect/fetch", {{}, {}, "/denied/redirected-fetch"});
        m_lists.blacklistAddUrl("*://127.0.0.1:" + std::to_string(m_server.port()) + "/denied/*");
        m_lists.blacklistAddUrl("*://localhost:" + std::to_string(m_server.port()) + "/*");

        // Fresh engine state for each test: its own context, no cache, no stored data.
        m_context = GObjectRef<WebKitWebContext>::adopt(webkit_web_context_new());
        webkit_web_context_set_cache_model(m_context.get(), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        m_guard = std::make_unique<RequestGuard>(m_context.get());
        m_session = GObjectRef<WebKitNetworkSession>::adopt(webkit_network_session_new_ephemeral());
        m_window = GTK_WINDOW(gtk_window_new());
        m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_context.get(),
                                              "network-session", m_session.get(), nullptr));
        gtk_window_set_child(m_window, GTK_WIDGET(m_view));
        gtk_window_present(m_window);
        g_signal_connect(m_view, "load-changed", G_CALLBACK(loadChanged), this);
        m_guard->watch(m_view);
    }

    void TearDown() override {
        gtk_window_destroy(m_window);
        m_guard.reset();
    }

    static void loadChanged(WebKitWebView*, WebKitLoadEvent event, RequestGuardTest* self) {
        if (event == WEBKIT_LOAD_FINISHED) {
            ++self->m_loads;
            self->m_blockedAtLoad += self->m_guard->takeBlockedCount(self->m_view);
        }
    }

    void load(const std::string& path) {
        const int loads = m_loads;
        webkit_web_view_load_uri(m_view, m_server.url(path).c_str());
        ASSERT_TRUE(runUntil([&] { return m_loads > loads; }, LoadLimitMs)) << path;
    }

    void run(const char* script) {
        webkit_web_view_evaluate_javascript(m_view, script, -1, nullptr, nullptr, nullptr, nullptr,
                                            nullptr);
    }

    bool arrives(const std::vector<std::string>& paths) {
        return runUntil(
            [&] {
                return std::all_of(paths.begin(), paths.end(),
                                   [&](const std::string& path) { return m_server.saw(path); });
            },
            LoadLimitMs);
    }

    std::vector<std::string> deniedArrivals() const {
        std::vector<std::string> arrived = m_server.pathsStartingWith("/denied");
        return arrived;
    }

    LoopbackServer m_server;
    UrlLists m_lists;
    GObjectRef<WebKitWebContext> m_context;
    std::unique_ptr<RequestGuard> m_guard;
    GObjectRef<WebKitNetworkSession> m_session;
    GtkWindow* m_window = nullptr;
    WebKitWebView* m_view = nullptr;
    int m_loads = 0;
    int m_blockedAtLoad = 0;
};

TEST_F(RequestGuardTest, EveryKindOfRequestToADeniedAddressIsRefusedAndCounted) {
    m_guard->judgeBy(m_lists);
    load("/page.html");
    EXPECT_TRUE(arrives(AllowedPaths)) << "an allowed request did not arrive";
    runFor(SettleMs);
    const std::vector<std::string> denied = deniedArrivals();
    EXPECT_TRUE(denied.empty()) << "reached the server: " << testing::PrintToString(denied);
    EXPECT_TRUE(m_server.pathsStartingWith("/denied-host").empty()) << "the denied host was asked";
    const int blocked = m_blockedAtLoad + m_guard->takeBlockedCount(m_view);
    EXPECT_GE(blocked, DeniedRequests);
    EXPECT_GT(m_blockedAtLoad, 0) << "nothing was counted by the end of the load";
    EXPECT_EQ(m_guard->takeBlockedCount(m_view), 0) << "the count was not reset";
}

TEST_F(RequestGuardTest, NothingIsRefusedBeforeTheFirstList) {
    load("/page.html");
    EXPECT_TRUE(arrives({"/denied/img.png", "/denied/fetch", "/denied/ws", "/denied/worker"}));
    EXPECT_EQ(m_blockedAtLoad + m_guard->takeBlockedCount(m_view), 0);
}

// The page's web process runs already when the list comes: the next request is judged by it,
// with no reload and no message that could come late.
TEST_F(RequestGuardTest, ARunningWebProcessJudgesByTheListAtOnce) {
    load("/plain.html");
    m_guard->judgeBy(m_lists);
    run("fetch('/denied/after').catch(() => {});"
        "try { new WebSocket(`ws://${location.host}/denied/ws`); } catch (e) {}"
        "fetch('/allowed/after');");
    EXPECT_TRUE(arrives({"/allowed/after"}));
    runFor(SettleMs);
    EXPECT_TRUE(deniedArrivals().empty()) << testing::PrintToString(deniedArrivals());
    EXPECT_EQ(m_guard->takeBlockedCount(m_view), 2);
}

// A later list replaces the earlier one in the running process.
TEST_F(RequestGuardTest, ANewListReplacesTheOld) {
    m_guard->judgeBy(m_lists);
    load("/plain.html");
    UrlLists other;
    other.blacklistAddUrl("*/allowed/*");
    m_guard->judgeBy(other);
    run("fetch('/allowed/now-denied').catch(() => {}); fetch('/denied/now-allowed');");
    EXPECT_TRUE(arrives({"/denied/now-allowed"}));
    runFor(SettleMs);
    EXPECT_FALSE(m_server.saw("/allowed/now-denied"));
    EXPECT_EQ(m_guard->takeBlockedCount(m_view), 1);
}

// An image damaged after it was written: the web process refuses it, and with it every
// request, the page's own included, rather than judge by nothing.
TEST_F(RequestGuardTest, ADamagedListRefusesEveryRequest) {
    m_guard->judgeBy(m_lists);
    const std::filesystem::path root =
        std::filesystem::path(g_get_user_runtime_dir()) / "plintor-deny-lists";
    int damaged = 0;
    for (const auto& folder : std::filesystem::directory_iterator(root)) {
        const std::filesystem::path image = folder.path() / "list-1";
        if (folder.is_directory() && std::filesystem::exists(image)) {
            std::filesystem::permissions(image, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
            std::fstream(image, std::ios::in | std::ios::out | std::ios::binary)
                .seekp(static_cast<std::streamoff>(std::filesystem::file_size(image) / 2))
                .put('!');
            ++damaged;
        }
    }
    ASSERT_EQ(damaged, 1) << "other programs' lists lie in " << root;
    webkit_web_view_load_uri(m_view, m_server.url("/plain.html").c_str());
    runUntil([&] { return m_loads > 0; }, LoadLimitMs);
    runFor(SettleMs);
    EXPECT_FALSE(m_server.saw("/plain.html"));
    EXPECT_GT(m_blockedAtLoad + m_guard->takeBlockedCount(m_view), 0);
}

// A folder whose program ended without removing it is removed by the next start; the folder of
// a program that runs is kept, and goes when that program's guard goes.
TEST(SharedListFolderTest, FoldersOfEndedProgramsAreRemovedAtTheNextStart) {
    const std::filesystem::path root =
        std::filesystem::path(g_get_user_runtime_dir()) / "plintor-deny-lists";
    std::filesystem::create_directories(root / "left-by-a-crash");
    std::ofstream(root / "left-by-a-crash" / "list-7") << "image";
    SharedListFolder running;
    ASSERT_FALSE(running.path().empty());
    std::string second;
    {
        const SharedListFolder next;
        second = next.path();
        EXPECT_FALSE(std::filesystem::exists(root / "left-by-a-crash"));
        EXPECT_TRUE(std::filesystem::exists(running.path())) << "a running program's folder went";
    }
    EXPECT_FALSE(std::filesystem::exists(second)) << "a guard left its folder behind";
}

}  // namespace
}  // namespace plintor
