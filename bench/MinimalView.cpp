// The floor the kiosk's idle cost, start-up time and memory are measured against: a GTK 4
// window that holds nothing but a full-screen WebKitGTK view with the engine's defaults and an
// ephemeral network session, loading one page. Nothing the kiosk adds (its lists, panels,
// settings or renderer choice) belongs here. Prints "Loaded <ms>" (milliseconds since the
// program started) once the page has loaded, and "Failed <ms>" when it could not; runs until its
// window is closed or the program is ended.
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <chrono>
#include <cstdio>

#include "glib/GObjectRef.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    Clock::time_point started;
    bool reported = false;
    bool closed = false;
};

void report(Run& run, const char* outcome) {
    if (run.reported) {
        return;
    }
    run.reported = true;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - run.started);
    std::printf("%s %lld\n", outcome, static_cast<long long>(elapsed.count()));
    std::fflush(stdout);
}

// A failed load ends with "finished" too; the failure is reported first and stands.
void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer run) {
    if (event == WEBKIT_LOAD_FINISHED) {
        report(*static_cast<Run*>(run), "Loaded");
    }
}

gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, char*, GError*, gpointer run) {
    report(*static_cast<Run*>(run), "Failed");
    return FALSE;
}

gboolean onCloseRequest(GtkWindow*, gpointer run) {
    static_cast<Run*>(run)->closed = true;
    return FALSE;
}

}  // namespace

int main(int argc, char* argv[]) {
    Run run{.started = Clock::now()};
    if (argc != 2) {
        std::fprintf(stderr, "usage: plintor_minimal_view ADDRESS\n");
        return 2;
    }
    if (gtk_init_check() == FALSE) {
        std::fprintf(stderr, "plintor_minimal_view: cannot open the display\n");
        return 1;
    }
    const auto session =
        plintor::GObjectRef<WebKitNetworkSession>::adopt(webkit_network_session_new_ephemeral());
    auto* view = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session.get(), nullptr));
    g_signal_connect(view, "load-changed", G_CALLBACK(onLoadChanged), &run);
    g_signal_connect(view, "load-failed", G_CALLBACK(onLoadFailed), &run);
    GtkWidget* window = gtk_window_new();
    g_signal_connect(window, "close-request", G_CALLBACK(onCloseRequest), &run);
    gtk_window_set_child(GTK_WINDOW(window), GTK_WIDGET(view));
    webkit_web_view_load_uri(view, argv[1]);
    gtk_window_fullscreen(GTK_WINDOW(window));
    gtk_window_present(GTK_WINDOW(window));
    while (!run.closed) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return 0;
}
