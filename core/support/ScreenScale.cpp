#include "core/support/ScreenScale.h"

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

}  // namespace plintor
