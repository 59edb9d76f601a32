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

// A texture never changes, so another thread may encode it.
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
          [this](const Outcome& outcome) { finished(outcome); })) {}

bool ScreenshotRequests::handle(const ReceivedMessage& received, InstanceChannel& channel) {
    if (received.message.msg != WM_SCREENSHOT) {
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
    auto texture = std::make_shared<GObjectRef<GdkTexture>>(renderWindow(m_window));
    if (!texture->get()) {
        outcome.refusal = "the window is not on the screen";
        finished(outcome);
        return;
    }
    runInBackground<Outcome>(
        [outcome, texture]() mutable {
            outcome.refusal = writePng(*texture, outcome.file);
            return outcome;
        },
        m_finished);
}

void ScreenshotRequests::finished(const Outcome& outcome) {
    if (outcome.refusal.empty()) {
        logEntry("Screenshot: " + outcome.file);
    } else {
        logEntry("Screenshot not written: " + outcome.file + ": " + outcome.refusal);
    }
    std::string error;
    if (!outcome.sender.empty() && m_channel != nullptr) {
        m_channel->answer(outcome.sender, {WM_SCREENSHOTREPLY, 0, 0, outcome.refusal}, error);
    }
}

}  // namespace plintor
