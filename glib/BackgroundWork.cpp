#include "glib/BackgroundWork.h"

#include <glib.h>

#include <system_error>
#include <thread>

namespace plintor {
namespace {

gboolean runPosted(gpointer data) {
    (*static_cast<std::function<void()>*>(data))();
    return G_SOURCE_REMOVE;
}

void discardPosted(gpointer data) {
    delete static_cast<std::function<void()>*>(data);
}

}  // namespace

void postToLoop(GMainContext* context, std::function<void()> call) {
    GSource* source = g_idle_source_new();
    g_source_set_callback(source, runPosted, new std::function<void()>(std::move(call)),
                          discardPosted);
    g_source_attach(source, context);
    g_source_unref(source);
    g_main_context_unref(context);
}

GMainContext* referenceThreadLoop() {
    return g_main_context_ref_thread_default();
}

void startDetachedThread(std::function<void()> run) {
    try {
        std::thread(run).detach();
    } catch (const std::system_error&) {
        run();
    }
}

}  // namespace plintor
