#include "widgets/KioskResources.h"

#include <gio/gio.h>

#include <mutex>

// Written by glib-compile-resources from the program's resource lists (widgets/CMakeLists.txt).
void plintor_icons_register_resource();
void plintor_flags_register_resource();
void plintor_keyboards_register_resource();

namespace plintor {

void registerKioskResources() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        plintor_icons_register_resource();
        plintor_flags_register_resource();
        plintor_keyboards_register_resource();
    });
}

}  // namespace plintor
