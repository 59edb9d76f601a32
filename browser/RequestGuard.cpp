#include "browser/RequestGuard.h"

#include <cstring>
#include <string>
#include <utility>

#include "core/browser/DenyListImage.h"
#include "core/browser/SharedDenyList.h"
#include "glib/GObjectRef.h"

namespace plintor {
namespace {

constexpr const char* ExtensionModule = "libplintor_webext.so";
// Engine features whose requests no page's send-request sees: service and shared workers belong
// to no page; link prefetch, off by default today, is kept off.
constexpr const char* UnjudgedFeatures[] = {"ServiceWorkers", "SharedWorker", "LinkPrefetch"};

// The extension beside the program (a build folder), else where the package installs it.
std::string extensionFolder() {
    const GlibText program(g_file_read_link("/proc/self/exe", nullptr));
    const GlibText programFolder(g_path_get_dirname(program.get()));
    const std::string beside = std::string(programFolder.get()) + "/web-extensions";
    const GlibText module(g_build_filename(beside.c_str(), ExtensionModule, nullptr));
    return g_file_test(module.get(), G_FILE_TEST_EXISTS) ? beside
                                                         : PLINTOR_INSTALLED_WEB_EXTENSIONS;
}

void turnOffUnjudgedFeatures(WebKitWebView* view) {
    WebKitSettings* settings = webkit_web_view_get_settings(view);
    WebKitFeatureList* features = webkit_settings_get_all_features();
    for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
        WebKitFeature* feature = webkit_feature_list_get(features, i);
        for (const char* name : UnjudgedFeatures) {
            if (std::strcmp(webkit_feature_get_identifier(feature), name) == 0) {
                webkit_settings_set_feature_enabled(settings, feature, FALSE);
            }
        }
    }
    webkit_feature_list_unref(features);
}

}  // namespace

RequestGuard::RequestGuard(WebKitWebContext* context) {
    webkit_web_context_set_web_process_extensions_directory(context, extensionFolder().c_str());
    if (!m_folder.path().empty()) {
        webkit_web_context_add_path_to_sandbox(context, m_folder.path().c_str(), TRUE);
    }
    GVariantBuilder data;
    g_variant_builder_init(&data, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&data, "{sv}", SharedDenyList::FolderKey,
                          g_variant_new_string(m_folder.path().c_str()));
    webkit_web_context_set_web_process_extensions_initialization_user_data(
        context, g_variant_builder_end(&data));
}

RequestGuard::~RequestGuard() {
    for (const auto& [view, watched] : m_views) {
        g_signal_handler_disconnect(view, watched.messages);
        g_object_weak_unref(G_OBJECT(view), viewGone, this);
    }
}

void RequestGuard::judgeBy(const UrlLists& lists) {
    m_folder.publish(DenyListImage::of(lists));
    if (!std::exchange(m_judging, true)) {
        for (const auto& [view, watched] : m_views) {
            turnOffUnjudgedFeatures(view);
        }
    }
}

void RequestGuard::watch(WebKitWebView* view) {
    if (m_views.contains(view)) {
        return;
    }
    m_views[view].messages =
        g_signal_connect(view, "user-message-received", G_CALLBACK(messageReceived), this);
    g_object_weak_ref(G_OBJECT(view), viewGone, this);
    if (m_judging) {
        turnOffUnjudgedFeatures(view);
    }
}

int RequestGuard::takeBlockedCount(WebKitWebView* view) {
    const auto watched = m_views.find(view);
    return watched == m_views.end() ? 0 : std::exchange(watched->second.blocked, 0);
}

void RequestGuard::viewGone(gpointer self, GObject* view) {
    static_cast<RequestGuard*>(self)->m_views.erase(reinterpret_cast<WebKitWebView*>(view));
}

// Other messages of the page are left to the program's other handlers.
gboolean RequestGuard::messageReceived(WebKitWebView* view, WebKitUserMessage* message,
                                       RequestGuard* self) {
    if (std::strcmp(webkit_user_message_get_name(message), SharedDenyList::RefusedMessage) != 0) {
        return FALSE;
    }
    if (const auto watched = self->m_views.find(view); watched != self->m_views.end()) {
        ++watched->second.blocked;
    }
    return TRUE;
}

}  // namespace plintor
