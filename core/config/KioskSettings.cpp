#include "core/config/KioskSettings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

NavButton defaultHomeButton(int pixelsPerInch) {
    return {"", scaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

AwakeRequest executionStateOf(const KioskSettings& settings) {
    const AwakeRequest always = AwakeRequest::Continuous | AwakeRequest::System;
    return settings.displayAlwaysOn ? always | AwakeRequest::Display : always;
}

LocalTime nextRestartAfter(LocalTime now, TimeOfDay timeOfDay) {
    const LocalTime today = std::chrono::floor<std::chrono::days>(now) + timeOfDay;
    return now > today ? today + std::chrono::days(1) : today;
}

}  // namespace plintor
