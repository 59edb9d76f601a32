#include "core/browser/ProgressRule.h"

#include <cmath>

namespace plintor {

bool progressIndicatorVisible(int downCount, DateTime downTime, DateTime now) {
    const long long milliseconds = std::llround((now - downTime) * MillisecondsPerDay);
    return downCount > 0 && milliseconds / 1000 > 1;
}

}  // namespace plintor
