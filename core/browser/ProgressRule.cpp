#include "core/browser/ProgressRule.h"

namespace plintor {

bool progressIndicatorVisible(int downCount, LocalTime downTime, LocalTime now) {
    return downCount > 0 && std::chrono::duration_cast<std::chrono::seconds>(now - downTime) >
                                std::chrono::seconds(1);
}

}  // namespace plintor
