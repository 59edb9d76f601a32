#pragma once

#include "core/support/DateTime.h"

namespace plintor {

// The progress indicator shows only while something is loading and the navigation started
// more than one whole second ago, so fast pages never flash it.
bool progressIndicatorVisible(int downCount, DateTime downTime, DateTime now);

}  // namespace plintor
