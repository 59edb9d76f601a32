#include "glib/ScopedSignal.h"

#include <utility>

namespace plintor {

ScopedSignal::ScopedSignal(gpointer instance, const char* signal, GCallback handler, gpointer data)
    : m_instance(g_object_ref(instance)),
      m_handler(g_signal_connect(instance, signal, handler, data)) {}

ScopedSignal::ScopedSignal(ScopedSignal&& other) noexcept
    : m_instance(std::exchange(other.m_instance, nullptr)),
      m_handler(std::exchange(other.m_handler, 0)) {}

ScopedSignal& ScopedSignal::operator=(ScopedSignal&& other) noexcept {
    if (this != &other) {
        disconnect();
        m_instance = std::exchange(other.m_instance, nullptr);
        m_handler = std::exchange(other.m_handler, 0);
    }
    return *this;
}

ScopedSignal::~ScopedSignal() {
    disconnect();
}

void ScopedSignal::disconnect() {
    if (m_instance == nullptr) {
        return;
    }
    g_signal_handler_disconnect(m_instance, m_handler);
    g_object_unref(std::exchange(m_instance, nullptr));
    m_handler = 0;
}

}  // namespace plintor
