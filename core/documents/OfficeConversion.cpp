#include "core/documents/OfficeConversion.h"

#include "core/support/FileHelpers.h"

namespace plintor {

std::string converterParameters(const std::string& outputFolder, const std::string& document) {
    std::string folder = outputFolder;
    while (folder.size() > 1 && isPathDelimiter(folder.back())) {
        folder.pop_back();
    }
    return "--headless --convert-to pdf --outdir \"" + folder + "\" \"" + document + "\"";
}

}  // namespace plintor
