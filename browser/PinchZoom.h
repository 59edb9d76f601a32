#pragma once

#include <gtk/gtk.h>

namespace plintor {

// Makes a pinch on the touch screen (or the touchpad) leave the web view's page scale alone;
// false when the view has no pinch gesture to turn off.
bool refusePinchZoom(GtkWidget* view);

}  // namespace plintor
