#include "glib/FdWatch.h"

#include <glib-unix.h>

#include "glib/Guarded.h"

namespace plintor {

FdWatch::FdWatch(int descriptor, std::function<void()> readable) : m_readable(std::move(readable)) {
    m_source = g_unix_fd_add(descriptor, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                             &FdWatch::dispatch, this);
}

FdWatch::~FdWatch() {
    if (m_source != 0) {
        g_source_remove(m_source);
    }
}

// A descriptor that hung up would wake the loop for ever: its owner is told once more (it
// reads the end), and the watch stops. The callback may destroy the watch: it runs from a copy,
// after the watch's last change.
gboolean FdWatch::dispatch(gint, GIOCondition condition, gpointer self) {
    auto* watch = static_cast<FdWatch*>(self);
    const bool hungUp = (condition & (G_IO_HUP | G_IO_ERR)) != 0 && (condition & G_IO_IN) == 0;
    if (hungUp) {
        watch->m_source = 0;
    }
    const std::function<void()> readable = watch->m_readable;
    guarded(readable);
    return hungUp ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

}  // namespace plintor
