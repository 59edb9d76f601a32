#pragma once

#include <gdk/gdk.h>

namespace plintor {

// A texture of screen pixels that covers fewer widget units: a 64-pixel image on a screen
// scaled by 2 measures 32 units and is drawn from all of its pixels. A new reference.
GdkPaintable* scaledTextureNew(GdkTexture* texture, int width, int height);

}  // namespace plintor
