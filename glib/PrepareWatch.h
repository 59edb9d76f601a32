#pragma once

#include <glib.h>

#include <functional>

namespace plintor {

// Asks, each time the GLib main loop is about to sleep, whether something is ready that no
// descriptor will announce (events a library already read into its own queue), and handles it
// then. The question must be cheap: it is asked on every turn of the loop.
class PrepareWatch {
public:
    PrepareWatch(std::function<bool()> ready, std::function<void()> handle);
    PrepareWatch(const PrepareWatch&) = delete;
    PrepareWatch& operator=(const PrepareWatch&) = delete;
    ~PrepareWatch();

private:
    struct Source;
    static gboolean prepare(GSource* source, gint* timeout);
    static gboolean check(GSource* source);
    static gboolean dispatch(GSource* source, GSourceFunc, gpointer);

    std::function<bool()> m_ready;
    std::function<void()> m_handle;
    GSource* m_source;
};

}  // namespace plintor
