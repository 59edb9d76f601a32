#include "documents/BackgroundConversion.h"

#include <exception>

#include "documents/OfficeConverter.h"
#include "glib/BackgroundWork.h"

namespace plintor {

void BackgroundConversion::start(const std::string& document, const std::string& outputFolder,
                                 Done done) {
    m_done = std::make_shared<const Done>(std::move(done));
    runInBackground<bool>(
        [&converter = m_converter, document, outputFolder] {
            try {
                return converter.convertToPdf(document, outputFolder);
            } catch (const std::exception&) {
                return false;  // reported as a failed conversion
            }
        },
        m_done);
}

}  // namespace plintor
