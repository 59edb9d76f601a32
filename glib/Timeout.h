#pragma once

#include <glib.h>

#include <functional>

namespace plintor {

// A timer on the GLib main loop, measured on the monotonic clock: single-shot unless made
// repeating. It never fires after it was stopped or destroyed.
class Timeout {
public:
    explicit Timeout(std::function<void()> fired, bool repeating = false);
    Timeout(const Timeout&) = delete;
    Timeout& operator=(const Timeout&) = delete;
    ~Timeout();

    // (Re)starts it to fire after `milliseconds` (0: as soon as the loop is idle of events).
    void start(long long milliseconds);
    void stop();
    bool isActive() const { return m_source != 0; }
    // Milliseconds until it fires; -1 when it is not active.
    long long remainingMs() const;

private:
    static gboolean fire(gpointer self);

    std::function<void()> m_fired;
    bool m_repeating;
    guint m_source = 0;
    gint64 m_dueMicroseconds = 0;
    long long m_intervalMs = 0;
};

}  // namespace plintor
