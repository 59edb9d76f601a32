#include "core/browser/DocumentFiles.h"

#include "core/browser/UrlHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

std::string fileNameExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : asciiLower(fileName.substr(dot));
}

bool isWordExtension(std::string_view extension) {
    return extension == extractUrlFileExt(TempDocName) ||
           extension == extractUrlFileExt(TempDocxName);
}

}  // namespace plintor
