#pragma once

#include <string>

namespace plintor {

// The converter's parameters: headless, to PDF, into the output folder (without a trailing
// delimiter), the document's full path; both quoted.
std::string converterParameters(const std::string& outputFolder, const std::string& document);

}  // namespace plintor
