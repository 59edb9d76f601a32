#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "glib/ScopedSignal.h"

namespace plintor {

// Whether the display's seat has a touch screen, followed as devices come and go (a screen
// plugged in after the start counts); `changed` hears of each change.
class TouchScreenWatch {
public:
    explicit TouchScreenWatch(std::function<void()> changed);
    TouchScreenWatch(const TouchScreenWatch&) = delete;
    TouchScreenWatch& operator=(const TouchScreenWatch&) = delete;

    bool present() const { return m_present; }

private:
    static void deviceAdded(GdkSeat* seat, GdkDevice* device, gpointer self);
    static void deviceRemoved(GdkSeat* seat, GdkDevice* device, gpointer self);
    // Whether a touch screen other than `leaving` is on the seat.
    bool findTouchScreen(GdkDevice* leaving) const;
    void update(GdkDevice* leaving);

    std::function<void()> m_changed;
    GdkSeat* m_seat;  // the display's; null without a display
    bool m_present = false;
    ScopedSignal m_added;
    ScopedSignal m_removed;
};

}  // namespace plintor
