#include "core/support/ScreenScale.h"

#include <cmath>

namespace plintor {

int scaleClass(int pixelsPerInch) {
    if (pixelsPerInch >= 192) {
        return 200;
    }
    return pixelsPerInch >= 144 ? 150 : 100;
}

int scaleValue(int value, int pixelsPerInch) {
    return value * pixelsPerInch / DesignPixelsPerInch;
}

int touchTargetPixels(int pixelsPerInch) {
    constexpr double MillimetresPerInch = 25.4;
    // The epsilon absorbs the division's rounding where the size is a whole number of pixels.
    return static_cast<int>(
        std::ceil(TouchTargetMillimetres * pixelsPerInch / MillimetresPerInch - 1e-9));
}

}  // namespace plintor
