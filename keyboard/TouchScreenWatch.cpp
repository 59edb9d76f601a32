#include "keyboard/TouchScreenWatch.h"

namespace plintor {
namespace {

GdkSeat* defaultSeat() {
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
}

}  // namespace

TouchScreenWatch::TouchScreenWatch(std::function<void()> changed)
    : m_changed(std::move(changed)), m_seat(defaultSeat()) {
    if (m_seat == nullptr) {
        return;
    }
    m_present = findTouchScreen(nullptr);
    m_added =
        ScopedSignal(m_seat, "device-added", G_CALLBACK(&TouchScreenWatch::deviceAdded), this);
    m_removed =
        ScopedSignal(m_seat, "device-removed", G_CALLBACK(&TouchScreenWatch::deviceRemoved), this);
}

bool TouchScreenWatch::findTouchScreen(GdkDevice* leaving) const {
    GList* devices = gdk_seat_get_devices(m_seat, GDK_SEAT_CAPABILITY_ALL);
    bool found = false;
    for (GList* item = devices; item != nullptr && !found; item = item->next) {
        auto* device = static_cast<GdkDevice*>(item->data);
        found = device != leaving && gdk_device_get_source(device) == GDK_SOURCE_TOUCHSCREEN;
    }
    g_list_free(devices);
    return found;
}

void TouchScreenWatch::update(GdkDevice* leaving) {
    const bool present = findTouchScreen(leaving);
    if (present != m_present) {
        m_present = present;
        m_changed();
    }
}

void TouchScreenWatch::deviceAdded(GdkSeat*, GdkDevice*, gpointer self) {
    static_cast<TouchScreenWatch*>(self)->update(nullptr);
}

// The seat may still list the device while it tells of its removal.
void TouchScreenWatch::deviceRemoved(GdkSeat*, GdkDevice* device, gpointer self) {
    static_cast<TouchScreenWatch*>(self)->update(device);
}

}  // namespace plintor
