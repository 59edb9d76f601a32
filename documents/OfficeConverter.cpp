#include "documents/OfficeConverter.h"

#include <glib.h>

#include <filesystem>

#include "core/documents/OfficeConversion.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
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

// The sandbox tool the engine itself runs its web processes in.
std::string sandboxTool() {
    char* found = g_find_program_in_path("bwrap");
    std::string path = found != nullptr ? found : "";
    g_free(found);
    return path;
}

}  // namespace

// A document may link to pictures and pages anywhere, and the converter fetches them: it runs
// in a network of its own with nothing in it, so that no document reaches past the lists.
// Without the sandbox tool there is no conversion.
bool OfficeConverter::convertToPdf(const std::string& document,
                                   const std::string& outputFolder) const {
    const std::string program = m_locator.findLibreOfficePath();
    if (program.empty()) {
        return false;
    }
    const std::string sandbox = sandboxTool();
    if (sandbox.empty()) {
        logEntry("Office converter not started: bwrap, which keeps it off the network, is missing");
        return false;
    }
    // The file system's clock, a second early: some file systems keep whole seconds only.
    const auto start = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1);
    int exitCode = -1;
    const std::string offline =
        "--dev-bind / / --unshare-net --die-with-parent -- \"" + program + "\" ";
    if (!m_runner.runProgram(sandbox, offline + converterParameters(outputFolder, document), true,
                             exitCode, ConversionTimeLimitMs) ||
        exitCode == -1) {
        return false;
    }
    const std::filesystem::path pdf =
        std::filesystem::path(outputFolder) / (programBaseName(document) + ".pdf");
    return writtenSince(pdf, start);
}

}  // namespace plintor
