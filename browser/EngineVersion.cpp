#include "browser/EngineVersion.h"

#include <webkit/webkit.h>

namespace plintor {

std::string engineVersion() {
    return std::to_string(webkit_get_major_version()) + "." +
           std::to_string(webkit_get_minor_version()) + "." +
           std::to_string(webkit_get_micro_version());
}

}  // namespace plintor
