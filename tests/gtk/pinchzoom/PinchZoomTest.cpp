// The engine's pinch gesture on a real web view: refused, it takes part in no event phase,
// also once a page is shown, while the view's other gestures (scrolling with a finger, taps)
// keep theirs; a view left alone keeps its pinch.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <vector>

#include "browser/PinchZoom.h"
#include "glib/GObjectRef.h"
#include "glib/Timeout.h"

namespace plintor {
namespace {

struct Phases {
    std::vector<GtkPropagationPhase> zoom;    // of the view's pinch gestures
    std::vector<GtkPropagationPhase> others;  // of its other gestures
};

Phases phasesOf(GtkWidget* view) {
    Phases phases;
    auto controllers = GObjectRef<GListModel>::adopt(gtk_widget_observe_controllers(view));
    for (guint i = 0; i < g_list_model_get_n_items(controllers.get()); ++i) {
        auto controller = GObjectRef<GtkEventController>::adopt(
            static_cast<GtkEventController*>(g_list_model_get_item(controllers.get(), i)));
        if (!GTK_IS_GESTURE(controller.get())) {
            continue;
        }
        const GtkPropagationPhase phase =
            gtk_event_controller_get_propagation_phase(controller.get());
        (GTK_IS_GESTURE_ZOOM(controller.get()) ? phases.zoom : phases.others).push_back(phase);
    }
    return phases;
}

// Shows a page in the view and waits for it, thirty seconds at most.
bool showPage(WebKitWebView* view) {
    bool finished = false;
    bool expired = false;
    const gulong handler = g_signal_connect(
        view, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer done) {
            if (event == WEBKIT_LOAD_FINISHED) {
                *static_cast<bool*>(done) = true;
            }
        }),
        &finished);
    Timeout limit([&] { expired = true; });
    limit.start(30000);
    webkit_web_view_load_html(view, "<p>page</p>", "about:blank");
    while (!finished && !expired) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_signal_handler_disconnect(view, handler);
    return finished;
}

TEST(PinchZoomTest, RefusedPinchTakesNoEventsOtherGesturesStay) {
    ASSERT_TRUE(gtk_init_check()) << "no display";
    GtkWidget* window = gtk_window_new();
    auto refused = GObjectRef<GtkWidget>::sink(GTK_WIDGET(webkit_web_view_new()));
    auto untouched = GObjectRef<GtkWidget>::sink(GTK_WIDGET(webkit_web_view_new()));
    const Phases before = phasesOf(refused.get());
    ASSERT_EQ(before.zoom.size(), 1U) << "the engine pinches with one zoom gesture of the view";
    EXPECT_NE(before.zoom.front(), GTK_PHASE_NONE);

    EXPECT_TRUE(refusePinchZoom(refused.get()));
    gtk_window_set_child(GTK_WINDOW(window), refused.get());
    gtk_window_present(GTK_WINDOW(window));
    ASSERT_TRUE(showPage(WEBKIT_WEB_VIEW(refused.get())));

    const Phases after = phasesOf(refused.get());
    EXPECT_EQ(after.zoom, std::vector<GtkPropagationPhase>{GTK_PHASE_NONE});
    EXPECT_EQ(after.others, before.others) << "scrolling and taps must keep working";
    EXPECT_EQ(phasesOf(untouched.get()).zoom, before.zoom) << "a view left alone keeps its pinch";

    GtkWidget* plain = gtk_button_new();
    g_object_ref_sink(plain);
    EXPECT_FALSE(refusePinchZoom(plain)) << "a widget without a pinch gesture says so";
    g_object_unref(plain);
    gtk_window_destroy(GTK_WINDOW(window));
}

}  // namespace
}  // namespace plintor
