#include "app/ScreenshotRequests.h"

#include "core/app/ScreenshotTarget.h"
#include "core/support/FileIO.h"
#include "core/support/Log.h"
#include "glib/BackgroundWork.h"
#include "glib/GObjectRef.h"
#include "platform/InstanceChannel.h"

namespace plintor {
namespace {

// The window as the toolkit draws it for the screen: its own renderer, at its own size.
GObjectRef<GdkTexture> renderWindow(GtkWindow* window) {
    GtkWidget* widget = GTK_WIDGET(window);
    const int width = gtk_widget_get_width(widget);
    const int height = gtk_widget_get_height(widget);
    GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(window));
    if (renderer == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    const auto paintable = GObjectRef<GdkPaintable>::adopt(gtk_widget_paintable_new(widget));
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable.get(), GDK_SNAPSHOT(snapshot), width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    if (node == nullptr) {
        return {};
    }
    const graphene_rect_t bounds =
        GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    auto texture =
        GObjectRef<GdkTexture>::adopt(gsk_renderer_render_texture(renderer, node, &bounds));
    gsk_render_node_unref(node);
    return texture;
}

// The renderer's texture may live on the graphics card, which only this thread may read; its
// copy in memory never changes, so another thread may encode it.
GObjectRef<GdkTexture> inMemory(const GObjectRef<GdkTexture>& texture) {
    const int width = gdk_texture_get_width(texture.get());
    const int height = gdk_texture_get_height(texture.get());
    const gsize stride = static_cast<gsize>(width) * 4;
    auto* pixels = static_cast<guchar*>(g_malloc(stride * static_cast<gsize>(height)));
    gdk_texture_download(texture.get(), pixels, stride);
    GBytes* bytes = g_bytes_new_take(pixels, stride * static_cast<gsize>(height));
    auto copy = GObjectRef<GdkTexture>::adopt(
        gdk_memory_texture_new(width, height, GDK_MEMORY_DEFAULT, bytes, stride));
    g_bytes_unref(bytes);
    return copy;
}

std::string writePng(const GObjectRef<GdkTexture>& texture, const std::string& file) {
    GBytes* png = gdk_texture_save_to_png_bytes(texture.get());
    gsize size = 0;
    const auto* bytes = static_cast<const char*>(g_bytes_get_data(png, &size));
    // The visitor's screen is nobody else's business: the file is the kiosk user's alone.
    std::string why = writeFileWholeOrSayWhy(file, std::string_view(bytes, size), 0600);
    g_bytes_unref(png);
    return why;
}

}  // namespace

ScreenshotRequests::ScreenshotRequests(GtkWindow* window)
    : m_window(window),
      m_finished(std::make_shared<const std::function<void(Outcome)>>(
          [this](const Outcome& outcome) { written(outcome); })) {}

bool ScreenshotRequests::handle(const ReceivedMessage& received, InstanceChannel& channel) {
    if (received.message.kind != MessageKind::Screenshot) {
        return false;
    }
    m_channel = &channel;
    take(received);
    return true;
}

void ScreenshotRequests::take(const ReceivedMessage& request) {
    Outcome outcome{request.message.text, request.sender,
                    screenshotTargetRefusal(request.message.text)};
    if (!outcome.refusal.empty()) {
        finished(outcome);
        return;
    }
    // Two writes of one name at once would each take the other's temporary file.
    if (m_writing) {
        outcome.refusal = "another screenshot is being written";
        finished(outcome);
        return;
    }
    const GObjectRef<GdkTexture> rendered = renderWindow(m_window);
    if (!rendered.get()) {
        outcome.refusal = "the window is not on the screen";
        finished(outcome);
        return;
    }
    m_writing = true;
    auto texture = std::make_shared<GObjectRef<GdkTexture>>(inMemory(rendered));
    runInBackground<Outcome>(
        [outcome, texture]() mutable {
            outcome.refusal = writePng(*texture, outcome.file);
            return outcome;
        },
        m_finished);
}

void ScreenshotRequests::written(const Outcome& outcome) {
    m_writing = false;
    finished(outcome);
}

void ScreenshotRequests::finished(const Outcome& outcome) {
    if (outcome.refusal.empty()) {
        logEntry("Screenshot: " + outcome.file);
    } else {
        logEntry("Screenshot not written: " + outcome.file + ": " + outcome.refusal);
    }
    std::string error;
    if (!outcome.sender.empty() && m_channel != nullptr) {
        m_channel->answer(outcome.sender, {MessageKind::ScreenshotReply, 0, 0, outcome.refusal},
                          error);
    }
}

}  // namespace plintor
