#include "keyboard/KeyboardLayouts.h"

#include <gio/gio.h>

#include <algorithm>
#include <string>

#include "widgets/KioskResources.h"

namespace plintor {
namespace {

constexpr const char* Folder = "/plintor/keyboards/";

}  // namespace

std::vector<VirtualKeyLayout> loadKeyboardLayouts() {
    registerKioskResources();
    std::vector<VirtualKeyLayout> layouts;
    char** children = g_resources_enumerate_children(Folder, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (children == nullptr) {
        return layouts;
    }
    std::vector<std::string> names(children, children + g_strv_length(children));
    g_strfreev(children);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.find("KEYBOARD") == std::string::npos) {
            continue;
        }
        GBytes* bytes =
            g_resources_lookup_data((Folder + name).c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        if (bytes == nullptr) {
            continue;
        }
        gsize size = 0;
        const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
        auto layout = parseVirtualKeyLayout(name, std::string_view(data, size));
        g_bytes_unref(bytes);
        if (layout) {
            layouts.push_back(std::move(*layout));
        }
    }
    return layouts;
}

}  // namespace plintor
