#include "browser/PinchZoom.h"

#include "glib/GObjectRef.h"

namespace plintor {

// WebKitGTK's view scales the page on a pinch with a GtkGestureZoom of its own, grouped with
// the drag and swipe gestures that scroll it, and no setting turns it off. A gesture in no
// propagation phase sees no events: the pinch is refused, while scrolling with one finger,
// taps and the touch events the page itself receives stay as they are.
bool refusePinchZoom(GtkWidget* view) {
    // The model costs the widget extra bookkeeping only while it lives.
    auto controllers = GObjectRef<GListModel>::adopt(gtk_widget_observe_controllers(view));
    bool refused = false;
    const guint count = g_list_model_get_n_items(controllers.get());
    for (guint i = 0; i < count; ++i) {
        auto controller = GObjectRef<GObject>::adopt(
            static_cast<GObject*>(g_list_model_get_item(controllers.get(), i)));
        if (GTK_IS_GESTURE_ZOOM(controller.get())) {
            gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(controller.get()),
                                                       GTK_PHASE_NONE);
            refused = true;
        }
    }
    return refused;
}

}  // namespace plintor
