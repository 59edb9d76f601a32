#pragma once

#include "core/support/DateTime.h"

namespace plintor {

// The progress indicator shows only while something is loading and the navigation started
// more than one whole second ago, so fast pages never flash it.
bool ProgressIndicatorVisible(int downCount, TDateTime downTime, TDateTime now);

}  // namespace plintor
