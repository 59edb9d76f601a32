#pragma once

#include <string>

namespace plintor {

class IOfficeLocator;
class IProcessRunner;

// Converts Word documents to PDF with LibreOffice, headless.
class TOfficeConverter {
public:
    // The converter gets this long; a document it has not converted by then counts as failed.
    static constexpr int ConversionTimeLimitMs = 120000;

    TOfficeConverter(const IOfficeLocator& locator, IProcessRunner& runner)
        : FLocator(locator), FRunner(runner) {}

    // Converts into `outputFolder` under the document's base name. True only when the
    // converter ended by itself and left a non-empty PDF written after the conversion started.
    // Blocks until then; called off the user-interface thread (it shares no state).
    bool ConvertToPDF(const std::string& document, const std::string& outputFolder) const;

private:
    const IOfficeLocator& FLocator;
    IProcessRunner& FRunner;
};

}  // namespace plintor
