// The yardstick of bench/web_process_memory.py: web views, each in a web process of its own,
// with the request guard judging by the deny list of a mask file (or by none). Prints "ready"
// once every view has loaded a page that makes one request, then runs until it is ended.
//
//   plintor_web_process_memory VIEWS [MASK_FILE]
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "browser/RequestGuard.h"
#include "core/browser/UrlLists.h"
#include "glib/GObjectRef.h"

namespace {

using namespace plintor;

// A page whose one image is judged (nothing listens on the discard port of the loopback).
constexpr const char* Page = "<!doctype html><p>memory<img src='http://127.0.0.1:9/x.png'>";

int loaded = 0;

void loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer) {
    if (event == WEBKIT_LOAD_FINISHED) {
        ++loaded;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s VIEWS [MASK_FILE]\n", argv[0]);
        return 2;
    }
    const int views = std::atoi(argv[1]);
    gtk_init();
    const auto context = GObjectRef<WebKitWebContext>::adopt(webkit_web_context_new());
    RequestGuard guard(context.get());
    if (argc > 2) {
        UrlLists lists;
        std::ifstream masks(argv[2]);
        for (std::string line; std::getline(masks, line);) {
            lists.blacklistAddUrl(line);
        }
        std::fprintf(stderr, "%zu masks\n", lists.blacklistSize());
        guard.judgeBy(lists);
    }
    for (int i = 0; i < views; ++i) {
        GtkWidget* window = gtk_window_new();
        auto* view = WEBKIT_WEB_VIEW(
            g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context.get(), nullptr));
        gtk_window_set_child(GTK_WINDOW(window), GTK_WIDGET(view));
        gtk_window_present(GTK_WINDOW(window));
        g_signal_connect(view, "load-changed", G_CALLBACK(loadChanged), nullptr);
        guard.watch(view);
        webkit_web_view_load_html(view, Page, "http://127.0.0.1:9/");
    }
    while (loaded < views) {
        g_main_context_iteration(nullptr, TRUE);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        g_main_context_iteration(nullptr, TRUE);
    }
}
