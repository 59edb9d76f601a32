#pragma once

#include <glib-object.h>

namespace plintor {

// A signal handler that is disconnected when its owner goes, so that a GObject that outlives
// the owner (an engine object kept by the engine) never calls into freed memory. It holds a
// reference to the instance until then.
class ScopedSignal {
public:
    ScopedSignal() = default;
    ScopedSignal(gpointer instance, const char* signal, GCallback handler, gpointer data);
    ScopedSignal(const ScopedSignal&) = delete;
    ScopedSignal& operator=(const ScopedSignal&) = delete;
    ScopedSignal(ScopedSignal&& other) noexcept;
    ScopedSignal& operator=(ScopedSignal&& other) noexcept;
    ~ScopedSignal();

    void disconnect();

private:
    gpointer m_instance = nullptr;
    gulong m_handler = 0;
};

}  // namespace plintor
