#include "core/config/KioskSettings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

NavButton defaultHomeButton(int pixelsPerInch) {
    return {"", scaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

std::uint32_t executionStateOf(const KioskSettings& settings) {
    return ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
           (settings.displayAlwaysOn ? ES_DISPLAY_REQUIRED : 0);
}

LocalTime nextRestartAfter(LocalTime now, TimeOfDay timeOfDay) {
    const LocalTime today = std::chrono::floor<std::chrono::days>(now) + timeOfDay;
    return now > today ? today + std::chrono::days(1) : today;
}

}  // namespace plintor
