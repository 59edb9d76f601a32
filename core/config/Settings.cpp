#include "core/config/Settings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

TNavButton DefaultHomeButton(int pixelsPerInch) {
    return {"", ScaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

std::uint32_t ExecutionStateOf(const TSettings& settings) {
    return ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
           (settings.DisplayAlwaysOn ? ES_DISPLAY_REQUIRED : 0);
}

TDateTime NextRestartAfter(TDateTime now, TDateTime timeOfDay) {
    const TDateTime today = DateOf(now) + timeOfDay;
    return now > today ? today + 1 : today;
}

}  // namespace plintor
