#include "documents/OfficeConverter.h"

#include <filesystem>

#include "core/documents/OfficeConversion.h"
#include "core/support/FileHelpers.h"
#include "platform/OfficeLocator.h"
#include "platform/ProcessRunner.h"

namespace plintor {
namespace {

bool writtenSince(const std::filesystem::path& file, std::filesystem::file_time_type start) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size == 0) {
        return false;
    }
    const auto written = std::filesystem::last_write_time(file, error);
    return !error && written >= start;
}

}  // namespace

bool OfficeConverter::convertToPdf(const std::string& document,
                                   const std::string& outputFolder) const {
    const std::string program = m_locator.findLibreOfficePath();
    if (program.empty()) {
        return false;
    }
    // The file system's clock, a second early: some file systems keep whole seconds only.
    const auto start = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1);
    int exitCode = -1;
    if (!m_runner.runProgram(program, converterParameters(outputFolder, document), true, exitCode,
                             ConversionTimeLimitMs) ||
        exitCode == -1) {
        return false;
    }
    const std::filesystem::path pdf =
        std::filesystem::path(outputFolder) / (programBaseName(document) + ".pdf");
    return writtenSince(pdf, start);
}

}  // namespace plintor
