#include "DocumentFiles.h"

#include "browser/UrlHelpers.h"

namespace plintor {

bool IsWordExtension(std::string_view extension) {
    return extension == ExtractURLFileExt(TempDocName) || extension == ExtractURLFileExt(TempDocxName);
}

}  // namespace plintor
