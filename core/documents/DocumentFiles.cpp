#include "core/documents/DocumentFiles.h"

#include "core/browser/UrlHelpers.h"

namespace plintor {

bool IsWordExtension(std::string_view extension) {
    return extension == ExtractURLFileExt(TempDocName) ||
           extension == ExtractURLFileExt(TempDocxName);
}

}  // namespace plintor
