#include "gtk/widgets/KioskResources.h"

#include <gio/gio.h>

#include <mutex>

// Written by glib-compile-resources from the program's resource files (gtk/widgets/CMakeLists.txt).
void plintor_bundle_register_resource();

namespace plintor {

void registerKioskResources() {
    static std::once_flag registered;
    std::call_once(registered, [] { plintor_bundle_register_resource(); });
}

}  // namespace plintor
