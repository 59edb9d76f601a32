#include "glib/PrepareWatch.h"

#include "glib/Guarded.h"

namespace plintor {

struct PrepareWatch::Source {
    GSource base;
    PrepareWatch* owner;
};

PrepareWatch::PrepareWatch(std::function<bool()> ready, std::function<void()> handle)
    : m_ready(std::move(ready)), m_handle(std::move(handle)) {
    static GSourceFuncs funcs{&PrepareWatch::prepare,
                              &PrepareWatch::check,
                              &PrepareWatch::dispatch,
                              nullptr,
                              nullptr,
                              nullptr};
    m_source = g_source_new(&funcs, sizeof(Source));
    reinterpret_cast<Source*>(m_source)->owner = this;
    g_source_attach(m_source, nullptr);
}

PrepareWatch::~PrepareWatch() {
    g_source_destroy(m_source);
    g_source_unref(m_source);
}

gboolean PrepareWatch::prepare(GSource* source, gint* timeout) {
    *timeout = -1;
    return reinterpret_cast<Source*>(source)->owner->m_ready();
}

gboolean PrepareWatch::check(GSource* source) {
    return reinterpret_cast<Source*>(source)->owner->m_ready();
}

gboolean PrepareWatch::dispatch(GSource* source, GSourceFunc, gpointer) {
    guarded(reinterpret_cast<Source*>(source)->owner->m_handle);
    return G_SOURCE_CONTINUE;
}

}  // namespace plintor
