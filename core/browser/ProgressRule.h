#pragma once

#include "core/support/LocalTime.h"

namespace plintor {

// The progress indicator shows only while something is loading and the navigation started
// more than one whole second ago, so fast pages never flash it.
bool progressIndicatorVisible(int downCount, LocalTime downTime, LocalTime now);

}  // namespace plintor
