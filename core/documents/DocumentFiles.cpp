#include "core/documents/DocumentFiles.h"

#include "core/browser/UrlHelpers.h"

namespace plintor {

bool isWordExtension(std::string_view extension) {
    return extension == extractUrlFileExt(TempDocName) ||
           extension == extractUrlFileExt(TempDocxName);
}

}  // namespace plintor
