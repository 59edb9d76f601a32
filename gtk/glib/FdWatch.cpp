#include "gtk/glib/FdWatch.h"

#include <glib-unix.h>

namespace plintor {

FdWatch::FdWatch(int descriptor, std::function<void()> readable)
    : m_readable(std::move(readable)) {
    m_source = g_unix_fd_add(descriptor, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                             &FdWatch::dispatch, this);
}

FdWatch::~FdWatch() {
    if (m_source != 0) {
        g_source_remove(m_source);
    }
}

// A descriptor that hung up would wake the loop for ever: its owner is told once more (it
// reads the end), and the watch stops.
gboolean FdWatch::dispatch(gint, GIOCondition condition, gpointer self) {
    auto* watch = static_cast<FdWatch*>(self);
    watch->m_readable();
    if ((condition & (G_IO_HUP | G_IO_ERR)) != 0 && (condition & G_IO_IN) == 0) {
        watch->m_source = 0;
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace plintor
