#include "webext/DenyListExtension.h"

#include <memory>
#include <utility>

#include "core/browser/SharedDenyList.h"
#include "webext/EditableFocusReporter.h"

namespace plintor {

DenyListExtension::DenyListExtension(WebKitWebProcessExtension* extension, std::string folder)
    : m_list(std::move(folder)),
      m_webSockets(extension, [this](WebKitWebPage* page, std::string_view url) {
          return denies(page, url);
      }) {
    g_signal_connect(extension, "page-created", G_CALLBACK(pageCreated), this);
}

void DenyListExtension::pageCreated(WebKitWebProcessExtension*, WebKitWebPage* page,
                                    DenyListExtension* self) {
    g_signal_connect(page, "send-request", G_CALLBACK(sendRequest), self);
}

gboolean DenyListExtension::sendRequest(WebKitWebPage* page, WebKitURIRequest* request,
                                        WebKitURIResponse*, DenyListExtension* self) {
    const char* uri = webkit_uri_request_get_uri(request);
    return self->denies(page, uri != nullptr ? uri : "");
}

bool DenyListExtension::denies(WebKitWebPage* page, std::string_view url) {
    if (!m_list.denies(url)) {
        return false;
    }
    if (page != nullptr) {
        webkit_web_page_send_message_to_view(
            page, webkit_user_message_new(SharedDenyList::RefusedMessage, nullptr), nullptr,
            nullptr, nullptr);
    }
    return true;
}

}  // namespace plintor

namespace {

// One each per web process, for the process's whole life: the engine never unloads an
// extension.
std::unique_ptr<plintor::DenyListExtension> theExtension;
std::unique_ptr<plintor::EditableFocusReporter> theFocusReporter;

}  // namespace

// The program's initialization data names the folder of the shared deny list; without it
// (a wrong set-up) the extension follows no list and refuses every request.
extern "C" G_MODULE_EXPORT void webkit_web_process_extension_initialize_with_user_data(
    WebKitWebProcessExtension* extension, const GVariant* data) {
    const char* folder = "";
    if (data != nullptr &&
        g_variant_is_of_type(const_cast<GVariant*>(data), G_VARIANT_TYPE_VARDICT)) {
        g_variant_lookup(const_cast<GVariant*>(data), plintor::SharedDenyList::FolderKey, "&s",
                         &folder);
    }
    theExtension = std::make_unique<plintor::DenyListExtension>(extension, folder);
    theFocusReporter = std::make_unique<plintor::EditableFocusReporter>(extension);
}
