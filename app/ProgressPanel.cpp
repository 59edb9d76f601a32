#include "app/ProgressPanel.h"

#include <algorithm>

#include "core/support/Log.h"
#include "widgets/KioskResources.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

constexpr int PanelSize = 97;
constexpr int ImageOffset = 16;
constexpr int ImageSize = 64;
constexpr int ShortestFrameMs = 20;  // what browsers make of a GIF frame that claims none

constexpr const char* Animation = "/plintor/progress.gif";

}  // namespace

ProgressPanel::ProgressPanel(const ScreenMetrics& metrics)
    : m_frame(GObjectRef<GtkWidget>::sink(gtk_fixed_new())),
      m_picture(gtk_picture_new()),
      m_css(m_frame.get()),
      m_nextFrame([this] { advance(); }),
      m_mapSignal(m_frame.get(), "map", G_CALLBACK(&ProgressPanel::mapped), this),
      m_unmapSignal(m_frame.get(), "unmap", G_CALLBACK(&ProgressPanel::unmapped), this) {
    m_css.set("& { background: white; box-shadow: " + WidgetCss::raisedPanel(1) + "; }");
    gtk_widget_set_size_request(m_frame.get(), metrics.scaled(PanelSize),
                                metrics.scaled(PanelSize));
    gtk_widget_set_halign(m_frame.get(), GTK_ALIGN_CENTER);
    gtk_widget_set_valign(m_frame.get(), GTK_ALIGN_CENTER);
    gtk_widget_set_can_target(m_frame.get(), FALSE);
    gtk_picture_set_can_shrink(GTK_PICTURE(m_picture), TRUE);
    gtk_picture_set_content_fit(GTK_PICTURE(m_picture), GTK_CONTENT_FIT_FILL);
    gtk_widget_set_size_request(m_picture, metrics.scaled(ImageSize), metrics.scaled(ImageSize));
    gtk_fixed_put(GTK_FIXED(m_frame.get()), m_picture, metrics.scaled(ImageOffset),
                  metrics.scaled(ImageOffset));

    registerKioskResources();
    GError* error = nullptr;
    m_animation = GObjectRef<GdkPixbufAnimation>::adopt(
        gdk_pixbuf_animation_new_from_resource(Animation, &error));
    if (!m_animation) {
        logEntry(std::string("The progress animation is missing: ") +
                 (error != nullptr ? error->message : Animation));
        g_clear_error(&error);
    } else {
        // The first frame is there before the first show.
        m_frames = GObjectRef<GdkPixbufAnimationIter>::adopt(
            gdk_pixbuf_animation_get_iter(m_animation.get(), nullptr));
        showFrame();
    }
    gtk_widget_set_visible(m_frame.get(), FALSE);
}

ProgressPanel::~ProgressPanel() = default;

// Shown, it starts from the first frame again.
void ProgressPanel::mapped(GtkWidget*, gpointer self) {
    auto* panel = static_cast<ProgressPanel*>(self);
    if (!panel->m_animation || gdk_pixbuf_animation_is_static_image(panel->m_animation.get())) {
        return;
    }
    panel->m_frames = GObjectRef<GdkPixbufAnimationIter>::adopt(
        gdk_pixbuf_animation_get_iter(panel->m_animation.get(), nullptr));
    panel->showFrame();
}

// A panel whose parent goes out of sight is unmapped too.
void ProgressPanel::unmapped(GtkWidget*, gpointer self) {
    static_cast<ProgressPanel*>(self)->m_nextFrame.stop();
}

void ProgressPanel::advance() {
    gdk_pixbuf_animation_iter_advance(m_frames.get(), nullptr);
    showFrame();
}

void ProgressPanel::showFrame() {
    GdkPixbuf* pixbuf = gdk_pixbuf_animation_iter_get_pixbuf(m_frames.get());
    if (pixbuf != nullptr) {
        GObjectRef<GdkTexture> texture =
            GObjectRef<GdkTexture>::adopt(gdk_texture_new_for_pixbuf(pixbuf));
        gtk_picture_set_paintable(GTK_PICTURE(m_picture), GDK_PAINTABLE(texture.get()));
    }
    const int delay = gdk_pixbuf_animation_iter_get_delay_time(m_frames.get());
    if (delay >= 0 && gtk_widget_get_mapped(m_frame.get())) {
        m_nextFrame.start(std::max(delay, ShortestFrameMs));
    }
}

}  // namespace plintor
