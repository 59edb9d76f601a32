#pragma once

#include <gdk/gdk.h>

#include <string>

#include "glib/GObjectRef.h"

namespace plintor {

// An image in screen pixels and the widget units it covers on a screen of a scale factor: a
// 64-pixel image on a screen scaled by 2 covers 32 units and stays sharp.
class Glyph {
public:
    Glyph() = default;
    Glyph(GObjectRef<GdkTexture> texture, int scaleFactor);
    // The image at a resource path of the program; a null glyph when there is none
    // or it is no image.
    static Glyph fromResource(const std::string& path, int scaleFactor);

    Glyph share() const;
    bool isNull() const { return !m_texture; }
    // What a picture shows: the texture, measured in widget units.
    GdkPaintable* paintable() const { return m_paintable.get(); }
    // In widget units.
    int width() const;
    int height() const;

private:
    GObjectRef<GdkTexture> m_texture;
    int m_scaleFactor = 1;
    GObjectRef<GdkPaintable> m_paintable;
};

}  // namespace plintor
