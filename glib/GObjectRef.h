#pragma once

#include <glib-object.h>

#include <utility>

namespace plintor {

// One reference to a GObject, given back when the holder goes.
template <typename T>
class GObjectRef {
public:
    GObjectRef() = default;
    // Takes over a reference the caller owns (a "transfer full" result).
    static GObjectRef adopt(T* object) { return GObjectRef(object); }
    // Takes over a new object's floating reference (a widget just created), so that the holder
    // owns it whoever else later parents it.
    static GObjectRef sink(T* object) {
        return GObjectRef(static_cast<T*>(g_object_ref_sink(object)));
    }
    // Adds a reference of its own.
    static GObjectRef share(T* object) {
        return GObjectRef(object != nullptr ? static_cast<T*>(g_object_ref(object)) : nullptr);
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    GObjectRef(GObjectRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectRef& operator=(GObjectRef&& other) noexcept {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    ~GObjectRef() { reset(); }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset() {
        if (T* object = std::exchange(m_object, nullptr)) {
            g_object_unref(object);
        }
    }

private:
    explicit GObjectRef(T* object) : m_object(object) {}

    T* m_object = nullptr;
};

// A string GLib allocated for the caller.
class GlibText {
public:
    explicit GlibText(char* text) : m_text(text) {}
    GlibText(const GlibText&) = delete;
    GlibText& operator=(const GlibText&) = delete;
    ~GlibText() { g_free(m_text); }

    const char* get() const { return m_text != nullptr ? m_text : ""; }

private:
    char* m_text;
};

}  // namespace plintor
