#pragma once

#include <string>

namespace plintor {

class OfficeLocator;
class ProcessRunner;

// Converts Word documents to PDF with LibreOffice, headless.
class OfficeConverter {
public:
    // The converter gets this long; a document it has not converted by then counts as failed.
    static constexpr int ConversionTimeLimitMs = 120000;

    OfficeConverter(const OfficeLocator& locator, ProcessRunner& runner)
        : m_locator(locator), m_runner(runner) {}

    // Converts into `outputFolder` under the document's base name. True only when the
    // converter ended by itself and left a non-empty PDF written after the conversion started.
    // Blocks until then; called off the user-interface thread (it shares no state).
    bool convertToPdf(const std::string& document, const std::string& outputFolder) const;

private:
    const OfficeLocator& m_locator;
    ProcessRunner& m_runner;
};

}  // namespace plintor
