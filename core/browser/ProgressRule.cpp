#include "ProgressRule.h"

#include <cmath>

namespace plintor {

bool ProgressIndicatorVisible(int downCount, TDateTime downTime, TDateTime now) {
    const double wholeSeconds = std::trunc((now - downTime) * 86400.0 + 1e-6);
    return downCount > 0 && wholeSeconds > 1;
}

}  // namespace plintor
