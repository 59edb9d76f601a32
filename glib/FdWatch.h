#pragma once

#include <glib.h>

#include <functional>

namespace plintor {

// Calls back on the GLib main loop whenever a descriptor (the X connection, the instance
// socket, a signal pipe) has something to read. The descriptor stays the caller's.
class FdWatch {
public:
    FdWatch(int descriptor, std::function<void()> readable);
    FdWatch(const FdWatch&) = delete;
    FdWatch& operator=(const FdWatch&) = delete;
    ~FdWatch();

private:
    static gboolean dispatch(gint descriptor, GIOCondition condition, gpointer self);

    std::function<void()> m_readable;
    guint m_source = 0;
};

}  // namespace plintor
