#include "widgets/Glyph.h"

#include <gio/gio.h>

#include "widgets/KioskResources.h"
#include "widgets/ScaledTexture.h"

namespace plintor {

Glyph::Glyph(GObjectRef<GdkTexture> texture, int scaleFactor)
    : m_texture(std::move(texture)), m_scaleFactor(scaleFactor > 0 ? scaleFactor : 1) {
    if (!m_texture) {
        return;
    }
    m_paintable =
        m_scaleFactor == 1
            ? GObjectRef<GdkPaintable>::share(GDK_PAINTABLE(m_texture.get()))
            : GObjectRef<GdkPaintable>::adopt(scaledTextureNew(m_texture.get(), width(), height()));
}

// Not gdk_texture_new_from_resource, which ends the program for a missing resource: a flag
// is looked up by a country code the desktop names, and a country without a flag has a
// language button without one, as it always had.
Glyph Glyph::fromResource(const std::string& path, int scaleFactor) {
    registerKioskResources();
    GError* error = nullptr;
    GBytes* bytes = g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, &error);
    GdkTexture* texture = nullptr;
    if (bytes != nullptr) {
        texture = gdk_texture_new_from_bytes(bytes, &error);
        g_bytes_unref(bytes);
    }
    g_clear_error(&error);
    if (texture == nullptr) {
        return {};
    }
    return Glyph(GObjectRef<GdkTexture>::adopt(texture), scaleFactor);
}

Glyph Glyph::share() const {
    return Glyph(GObjectRef<GdkTexture>::share(m_texture.get()), m_scaleFactor);
}

int Glyph::width() const {
    return m_texture ? gdk_texture_get_width(m_texture.get()) / m_scaleFactor : 0;
}

int Glyph::height() const {
    return m_texture ? gdk_texture_get_height(m_texture.get()) / m_scaleFactor : 0;
}

}  // namespace plintor
