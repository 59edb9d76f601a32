#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtk/gtk.h>

#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// The animation floated over a loading page. It runs only while the panel is on the screen
// (mapped): a hidden animation would still wake the program for every frame. Hidden until
// shown; its owner centres it over the page.
class ProgressPanel {
public:
    explicit ProgressPanel(const ScreenMetrics& metrics);
    ProgressPanel(const ProgressPanel&) = delete;
    ProgressPanel& operator=(const ProgressPanel&) = delete;
    ~ProgressPanel();

    GtkWidget* widget() const { return m_frame.get(); }
    bool animating() const { return m_nextFrame.isActive(); }

private:
    static void mapped(GtkWidget* widget, gpointer self);
    static void unmapped(GtkWidget* widget, gpointer self);
    void showFrame();
    void advance();

    GObjectRef<GtkWidget> m_frame;
    GtkWidget* m_picture;  // owned by the frame
    WidgetCss m_css;
    GObjectRef<GdkPixbufAnimation> m_animation;
    GObjectRef<GdkPixbufAnimationIter> m_frames;
    Timeout m_nextFrame;
    ScopedSignal m_mapSignal;
    ScopedSignal m_unmapSignal;
};

}  // namespace plintor
