#include "IConfigReport.h"

#include "support/Log.h"

namespace plintor {

void TLogConfigReport::LoadFailed(const std::exception& error) {
    LogException(error);
}

}  // namespace plintor
