#pragma once

#include <string>

namespace plintor {

// The converter gets this long; a document it has not converted by then counts as failed.
constexpr int ConversionTimeLimitMs = 120000;

// Converts a Word document to PDF with LibreOffice, into `outputFolder` under the document's
// base name. True only when the converter ended by itself and left a non-empty PDF written
// after the conversion started. Blocks until then; call it off the user-interface thread.
bool ConvertToPDF(const std::string& document, const std::string& outputFolder);

}  // namespace plintor
